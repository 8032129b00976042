#include "DumpFormat.h"

#include <array>
#include <vector>

#include "DumpSections.h"
#include "PictureSource.h"
#include "PlainBytes.h"
#include "ValueFormat.h"

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

std::optional<TPictureSize> ThumbnailSize(const TEXIF& Doc) {
  const TJPEGImage* Thumbnail = Doc.Thumbnail();
  if (Thumbnail == nullptr || Thumbnail->Empty()) return std::nullopt;
  return TPictureSize{Thumbnail->Width(), Thumbnail->Height()};
}

namespace {

// The bytes that may start an escaped character: the controls, DEL, and
// the first bytes of U+0080 to U+009F (C2) and of U+2028 and U+2029 (E2).
constexpr std::array<bool, 256> MayBeEscaped = [] {
  std::array<bool, 256> Bytes{};
  for (size_t Byte = 0; Byte < 0x20; ++Byte) Bytes[Byte] = true;
  Bytes[0x7F] = Bytes[0xC2] = Bytes[0xE2] = true;
  return Bytes;
}();

// How many bytes the character at At has when it is escaped, else 0.
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

// Whether none of the eight bytes from At can start an escaped character:
// all are ASCII, none a control or DEL.
bool EightPlainBytes(std::string_view Text, size_t At) {
  using namespace PlainBytes;
  if (Text.size() - At < 8) return false;
  const uint64_t Bytes = Word(Text, At);
  return !AnyHigh(Bytes) && !AnyBelow(Bytes, 0x20) && !Any(Bytes, 0x7F);
}

}  // namespace

void AppendEscapedControls(std::string& Out, std::string_view Text) {
  size_t Plain = 0;  // start of the bytes not yet appended
  for (size_t At = 0; At < Text.size(); ++At) {
    while (EightPlainBytes(Text, At)) At += 8;
    if (At == Text.size()) break;
    if (!MayBeEscaped[static_cast<unsigned char>(Text[At])]) continue;
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

std::string EscapeControls(std::string_view Text) {
  std::string Out;
  AppendEscapedControls(Out, Text);
  return Out;
}

namespace {

void AppendSize(std::string& Out, const TPictureSize& Size) {
  AppendInt(Out, Size.Width);
  Out += " x ";
  AppendInt(Out, Size.Height);
  Out += '\n';
}

// The comment line by line: CR LF, CR and LF each end a line, and a final
// line break adds no empty line.
void AppendCommentLines(std::string& Out, std::string_view Comment) {
  while (!Comment.empty()) {
    const size_t Break = Comment.find_first_of("\r\n");
    AppendEscapedControls(Out, Comment.substr(0, Break));
    Out += '\n';
    if (Break == std::string_view::npos) return;
    const size_t Next = (Comment[Break] == '\r' && Break + 1 < Comment.size() &&
                         Comment[Break + 1] == '\n')
                            ? Break + 2
                            : Break + 1;
    Comment.remove_prefix(Next);
  }
}

// A row a line: tag, name and value separated by tabs.
class TTextRows : public TRowSink {
 public:
  explicit TTextRows(std::string& Out) : FOut(Out) {}
  void Row(std::string_view Tag, std::string_view Name, std::string_view Value) override {
    AppendEscapedControls(FOut, Tag);
    FOut += '\t';
    AppendEscapedControls(FOut, Name);
    FOut += '\t';
    AppendEscapedControls(FOut, Value);
    FOut += '\n';
  }

 private:
  std::string& FOut;
};

void AppendTitle(std::string& Out, std::string_view Title) {
  Out += '[';
  Out += Title;
  Out += "]\n";
}

}  // namespace

void AppendDumpText(std::string& Out, const TDumpInput& Input) {
  const TEXIF& Doc = Input.Document;
  Out += "== ";
  AppendEscapedControls(Out, Input.FileName);
  Out += '\n';
  TTextRows Rows(Out);
  // The comment comes last, whatever its tab's place: its lines may hold any
  // text.
  for (const TTabView& Tab : TabViews) {
    if (Tab.Kind == tkComment || (Tab.Kind == tkImage && !Input.WithImage)) continue;
    AppendTitle(Out, Tab.Title);
    if (IsList(Tab)) {
      const TDumpSection& Section = SectionOfTab(Tab);
      Section.Rows(Section, Input, Rows);
    } else if (Tab.Kind == tkImage) {
      if (Input.Image) AppendSize(Out, *Input.Image);
    } else if (Tab.Kind == tkThumbnail) {
      if (const auto Size = ThumbnailSize(Doc)) AppendSize(Out, *Size);
    }
  }
  AppendTitle(Out, FindTab(tkComment)->Title);
  AppendCommentLines(Out, Doc.Comment());
}

void WriteDumpText(std::ostream& Out, const TDumpInput& Input) {
  std::string Text;
  AppendDumpText(Text, Input);
  Out.write(Text.data(), static_cast<std::streamsize>(Text.size()));
}
