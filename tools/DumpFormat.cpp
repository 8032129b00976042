#include "DumpFormat.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "PictureSource.h"
#include "ValueFormat.h"

namespace {

void WriteSize(std::ostream& Out, const TPictureSize& Size) {
  Out << Size.Width << " x " << Size.Height << '\n';
}

// The comment line by line: CR LF, CR and LF each end a line, and a final
// line break adds no empty line.
void WriteCommentLines(std::ostream& Out, std::string_view Comment) {
  while (!Comment.empty()) {
    const size_t Break = Comment.find_first_of("\r\n");
    Out << EscapeControls(Comment.substr(0, Break)) << '\n';
    if (Break == std::string_view::npos) return;
    const size_t Next = (Comment[Break] == '\r' && Break + 1 < Comment.size() &&
                         Comment[Break + 1] == '\n')
                            ? Break + 2
                            : Break + 1;
    Comment.remove_prefix(Next);
  }
}

nlohmann::json NumberOrNull(double Value) {
  if (!std::isfinite(Value)) return nullptr;
  return Value;
}

nlohmann::json RecordJson(const TEXIFTag& Rec, std::string Value) {
  nlohmann::json Numbers = nlohmann::json::array();
  for (double Number : Rec.NumericValue) Numbers.push_back(NumberOrNull(Number));
  return {
      {"tag", Rec.Header.Tag},
      {"name", Rec.Header.Name},
      {"units", Rec.Header.Units},
      {"dim", Rec.Header.Dim},
      {"typ", Rec.Typ},
      {"numbers", std::move(Numbers)},
      {"string", Rec.StringValue},
      {"value", std::move(Value)},
  };
}

nlohmann::json SizeJson(const std::optional<TPictureSize>& Size) {
  if (!Size) return nullptr;
  return {{"width", Size->Width}, {"height", Size->Height}};
}

std::optional<TPictureSize> ThumbnailSize(const TEXIF& Doc) {
  const TJPEGImage* Thumbnail = Doc.Thumbnail();
  if (Thumbnail == nullptr || Thumbnail->Empty()) return std::nullopt;
  return TPictureSize{Thumbnail->Width(), Thumbnail->Height()};
}

}  // namespace

namespace {

// Decoded in full, as the window does: a picture whose data fail after a
// good header shows nothing there either. The compressed data are read whole
// at any size, so the smallest one decides the same.
std::optional<TPictureSize> DecodedShownSize(TPictureSource Source) {
  constexpr TPictureSize Smallest{1, 1};
  const TPictureSize Size = Source.DecodedSize(Smallest);
  const size_t Stride = static_cast<size_t>(Size.Width) * 4;
  std::vector<uint8_t> Pixels(Stride * static_cast<size_t>(Size.Height));
  Source.DecodeTo(Pixels, Stride, Smallest, 0xFFFFFF);
  return Source.ShownSize();
}

}  // namespace

std::optional<TPictureSize> ImageTabSize(const TEXIF& Doc) {
  try {
    return DecodedShownSize(TPictureSource(Doc));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<TPictureSize> ImageTabSize(const TEXIF& Doc, std::span<const uint8_t> FileBytes) {
  try {
    return DecodedShownSize(TPictureSource(Doc, FileBytes));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

namespace {

// Whether the byte at At starts a character that is escaped, and how many
// bytes that character has (0 when it is not escaped).
size_t EscapedLength(std::string_view Text, size_t At) {
  const auto Byte = [&](size_t Ahead) {
    return At + Ahead < Text.size() ? static_cast<unsigned char>(Text[At + Ahead]) : 0u;
  };
  const unsigned First = Byte(0);
  if (First < 32 || First == 0x7F) return 1;
  if (First == 0xC2 && Byte(1) >= 0x80 && Byte(1) <= 0x9F) return 2;       // U+0080 to U+009F
  if (First == 0xE2 && Byte(1) == 0x80 && (Byte(2) == 0xA8 || Byte(2) == 0xA9)) return 3;  // U+2028, U+2029
  return 0;
}

void AppendEscaped(std::string& Out, std::string_view Text) {
  size_t Plain = 0;  // start of the bytes not yet appended
  for (size_t At = 0; At < Text.size(); ++At) {
    const size_t Length = EscapedLength(Text, At);
    if (Length == 0) continue;
    Out.append(Text.substr(Plain, At - Plain));
    if (Length == 3) {
      Out += Text[At + 2] == '\xA8' ? "\\u2028" : "\\u2029";
    } else {
      Out += "\\x";
      AppendHex(Out, static_cast<unsigned char>(Text[At + Length - 1]), 2);
    }
    At += Length - 1;
    Plain = At + 1;
  }
  Out.append(Text.substr(Plain));
}

}  // namespace

std::string EscapeControls(std::string_view Text) {
  std::string Out;
  AppendEscaped(Out, Text);
  return Out;
}

namespace {

// A list tab's rows, one line each: its three columns separated by tabs.
void WriteRows(std::ostream& Out, const TEXIF& Doc, const TTabView& Tab) {
  std::string Row;
  ForEachRow(Doc, Tab, [&](std::string_view Tag, std::string_view Name, std::string_view Value) {
    Row.clear();
    AppendEscaped(Row, Tag);
    Row += '\t';
    AppendEscaped(Row, Name);
    Row += '\t';
    AppendEscaped(Row, Value);
    Row += '\n';
    Out.write(Row.data(), static_cast<std::streamsize>(Row.size()));
  });
}

}  // namespace

// A section for each tab, in the tabs' order, but the comment's last: its
// lines may hold any text.
void WriteDumpText(std::ostream& Out, const TDumpInput& Input) {
  const TEXIF& Doc = Input.Document;
  Out << "== " << EscapeControls(Input.FileName) << '\n';
  for (const TTabView& Tab : TabViews) {
    if (Tab.Kind == tkComment || (Tab.Kind == tkImage && !Input.WithImage)) continue;
    Out << '[' << Tab.Title << "]\n";
    if (IsList(Tab)) {
      WriteRows(Out, Doc, Tab);
    } else if (Tab.Kind == tkImage) {
      if (Input.Image) WriteSize(Out, *Input.Image);
    } else if (Tab.Kind == tkThumbnail) {
      if (const auto Size = ThumbnailSize(Doc)) WriteSize(Out, *Size);
    }
  }
  Out << "[Comment]\n";
  WriteCommentLines(Out, Doc.Comment());
}

namespace {

constexpr auto InvalidUtf8 = nlohmann::json::error_handler_t::replace;

// A value as it stands Depth levels deep in an output indented by two
// spaces a level: its lines after the first moved in to that depth.
std::string Indented(const nlohmann::json& Value, size_t Depth) {
  std::string Text = Value.dump(2, ' ', false, InvalidUtf8);
  const std::string Margin(2 * Depth, ' ');
  for (size_t Break = Text.find('\n'); Break != std::string::npos; Break = Text.find('\n', Break + 1))
    Text.insert(Break + 1, Margin);
  return Text;
}

nlohmann::json XmpJson(const TXmpProperty& Row) {
  nlohmann::json Object{{"path", Row.Path}, {"name", Row.Name}, {"value", Row.Value}};
  if (Row.Sidecar) Object["sidecar"] = true;
  return Object;
}

nlohmann::json IptcJson(const TIptcDataset& Row) {
  return {{"record", Row.Record}, {"dataset", Row.Dataset}, {"name", Row.Name}, {"value", Row.Value}};
}

// The members of one file's object, written in the order they are given.
class TJsonMembers {
 public:
  explicit TJsonMembers(std::ostream& Out) : FOut(Out) { FOut << "  {\n"; }
  ~TJsonMembers() { FOut << "\n  }"; }

  void Value(std::string_view Key, const nlohmann::json& Value) { Name(Key) << Indented(Value, 2); }

  // An array of one object per item of Items.
  template <class TItems, class TObject>
  void Objects(std::string_view Key, const TItems& Items, TObject&& Object) {
    std::ostream& Out = Name(Key);
    bool Any = false;
    for (const auto& Item : Items) {
      Out << (Any ? ",\n      " : "[\n      ") << Indented(Object(Item), 3);
      Any = true;
    }
    Out << (Any ? "\n    ]" : "[]");
  }

  void Tab(const TTabView& Tab, const TDumpInput& Input) {
    const TEXIF& Doc = Input.Document;
    switch (Tab.Kind) {
      case tkTags:
        Objects(Tab.Key, (Doc.*Tab.Tags->Records)(),
                [&](const TEXIFTag& Rec) { return RecordJson(Rec, Tab.Tags->ValueText(Doc, Rec)); });
        break;
      case tkXmp: Objects(Tab.Key, Doc.XmpProperties(), XmpJson); break;
      case tkIptc: Objects(Tab.Key, Doc.IptcDatasets(), IptcJson); break;
      case tkImage: Value(Tab.Key, SizeJson(Input.Image)); break;
      case tkThumbnail: Value(Tab.Key, SizeJson(ThumbnailSize(Doc))); break;
      case tkComment: Value(Tab.Key, Doc.Comment()); break;
    }
  }

 private:
  std::ostream& Name(std::string_view Key) {
    FOut << (FFirst ? "" : ",\n") << "    \"" << Key << "\": ";
    FFirst = false;
    return FOut;
  }

  std::ostream& FOut;
  bool FFirst = true;
};

// The members that are not a tab's.
enum TFileMember { fmFile, fmFormat, fmMakerNoteFormat };
struct TMemberKey {
  std::string_view Key;
  const TTabView* Tab;     // a tab's member, or null
  TFileMember FileMember;  // else this
};
constexpr TMemberKey FileMembers[] = {
    {"file", nullptr, fmFile}, {"format", nullptr, fmFormat}, {"makerNoteFormat", nullptr, fmMakerNoteFormat}};

}  // namespace

// One member per tab (the image's only when it was asked for) and the
// file's own, in the alphabetical order a JSON library sorts keys into.
void WriteDumpJson(std::ostream& Out, const TDumpInput& Input) {
  const TEXIF& Doc = Input.Document;
  std::vector<TMemberKey> Keys(std::begin(FileMembers), std::end(FileMembers));
  for (const TTabView& Tab : TabViews)
    if (Tab.Kind != tkImage || Input.WithImage) Keys.push_back({Tab.Key, &Tab, fmFile});
  std::sort(Keys.begin(), Keys.end(), [](const TMemberKey& A, const TMemberKey& B) { return A.Key < B.Key; });
  TJsonMembers Members(Out);
  for (const TMemberKey& Key : Keys) {
    if (Key.Tab != nullptr) {
      Members.Tab(*Key.Tab, Input);
      continue;
    }
    switch (Key.FileMember) {
      case fmFile: Members.Value(Key.Key, Input.FileName); break;
      case fmFormat: Members.Value(Key.Key, Doc.FileFormat()); break;
      case fmMakerNoteFormat: Members.Value(Key.Key, MakerNoteFormatName(Doc.MakerNoteFormat())); break;
    }
  }
}
