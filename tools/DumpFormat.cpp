#include "DumpFormat.h"

#include <cmath>
#include <vector>

#include "FileBytes.h"
#include "ValueFormat.h"

namespace {

using TValueText = std::string (*)(const TEXIF&, const TEXIFTag&);

// One tag tab: its section title, its JSON key, how to read its records and
// which function makes the Value column.
struct TDirectoryView {
  std::string_view Title;
  std::string_view Key;
  int32_t (TEXIF::*Count)() const;
  void (TEXIF::*Record)(uint16_t, TEXIFTag&) const;
  TValueText Value;
};

const TDirectoryView DirectoryViews[] = {
    {"IFD 0", "ifd0", &TEXIF::TIFFCount, &TEXIF::TIFFTag,
     [](const TEXIF&, const TEXIFTag& Rec) { return TIFFValueText(Rec); }},
    {"EXIF Sub IFD", "exif", &TEXIF::EXIFCount, &TEXIF::EXIFTag,
     [](const TEXIF&, const TEXIFTag& Rec) { return EXIFValueText(Rec); }},
    {"EXIF Interoperability IFD", "interop", &TEXIF::INTEROPCount, &TEXIF::INTEROPTag,
     [](const TEXIF&, const TEXIFTag& Rec) { return InteropValueText(Rec); }},
    {"Maker Note", "makerNote", &TEXIF::MakerNoteCount, &TEXIF::MakerNoteTag,
     [](const TEXIF& Doc, const TEXIFTag& Rec) {
       return MakerNoteValueText(Doc.MakerNoteFormat(), Rec);
     }},
    {"IFD 1", "ifd1", &TEXIF::EXIF_IFD1Count, &TEXIF::EXIF_IFD1Tag,
     [](const TEXIF&, const TEXIFTag& Rec) { return TIFFValueText(Rec); }},
    {"GPS", "gps", &TEXIF::GPSCount, &TEXIF::GPSTag,
     [](const TEXIF&, const TEXIFTag& Rec) { return GPSValueText(Rec); }},
};

template <class TVisit>
void ForEachRecord(const TEXIF& Doc, const TDirectoryView& View, TVisit&& Visit) {
  const int32_t Count = (Doc.*View.Count)();
  TEXIFTag Rec;
  for (int32_t Index = 0; Index < Count; ++Index) {
    (Doc.*View.Record)(static_cast<uint16_t>(Index), Rec);
    Visit(Rec);
  }
}

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

std::optional<TPictureSize> ImageTabSize(const TEXIF& Doc) {
  if (!FileExists(Doc.FileName())) return std::nullopt;
  TJPEGImage Jpeg;
  try {
    // Decoded in full, as the window does: a picture whose data fail after
    // a good header shows nothing there either. The entropy-coded data are
    // read whole at any scale, so the smallest one decides the same.
    constexpr int Eighths = 1;
    Jpeg.LoadFromFile(Doc.FileName());
    Jpeg.CheckDecodable();
    const TPictureSize Scaled = ScaledSize(Jpeg.Size(), Eighths);
    const size_t Stride = static_cast<size_t>(Scaled.Width) * 3;
    std::vector<uint8_t> Pixels(Stride * static_cast<size_t>(Scaled.Height));
    Jpeg.DecodeTo(TPixelLayout::RGB24, Pixels, Stride, Eighths);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return OrientedSize(Jpeg.Size(), OrientationCode(Doc));
}

std::string TagColumnText(uint16_t Tag) { return "0x" + FormatHex(Tag); }

std::string EscapeControls(std::string_view Text) {
  std::string Out;
  Out.reserve(Text.size());
  for (const char C : Text) {
    if (static_cast<unsigned char>(C) >= 32) {
      Out += C;
      continue;
    }
    Out += "\\x";
    Out += FormatHex(static_cast<unsigned char>(C), 2);
  }
  return Out;
}

void WriteDumpText(std::ostream& Out, const TDumpInput& Input) {
  const TEXIF& Doc = Input.Document;
  Out << "== " << Input.FileName << '\n';
  for (const TDirectoryView& View : DirectoryViews) {
    Out << '[' << View.Title << "]\n";
    ForEachRecord(Doc, View, [&](const TEXIFTag& Rec) {
      Out << EscapeControls(TagColumnText(Rec.Header.Tag)) << '\t' << EscapeControls(Rec.Header.Name)
          << '\t' << EscapeControls(View.Value(Doc, Rec)) << '\n';
    });
  }
  if (Input.WithImage) {
    Out << "[Image]\n";
    if (Input.Image) WriteSize(Out, *Input.Image);
  }
  Out << "[Thumbnail]\n";
  if (const auto Size = ThumbnailSize(Doc)) WriteSize(Out, *Size);
  Out << "[Comment]\n";
  WriteCommentLines(Out, Doc.Comment());
}

nlohmann::json DumpJson(const TDumpInput& Input) {
  const TEXIF& Doc = Input.Document;
  nlohmann::json File = {
      {"file", Input.FileName},
      {"makerNoteFormat", MakerNoteFormatName(Doc.MakerNoteFormat())},
  };
  for (const TDirectoryView& View : DirectoryViews) {
    nlohmann::json Records = nlohmann::json::array();
    ForEachRecord(Doc, View,
                  [&](const TEXIFTag& Rec) { Records.push_back(RecordJson(Rec, View.Value(Doc, Rec))); });
    File[std::string(View.Key)] = std::move(Records);
  }
  File["thumbnail"] = SizeJson(ThumbnailSize(Doc));
  File["comment"] = Doc.Comment();
  if (Input.WithImage) File["image"] = SizeJson(Input.Image);
  return File;
}
