// The JSON writer: each file's object written member by member straight
// into the output, in the layout nlohmann::json's dump() gives it.
#include <algorithm>
#include <vector>

#include "DumpFormat.h"
#include "DumpSections.h"
#include "TextCodec.h"

namespace {

struct TJsonMember {
  std::string_view Key;
  void (*Write)(TJsonWriter& Json, const TDumpInput& Input, const TJsonMember& Member);
  const TDumpSection* Section;  // the section whose records it holds, if it is one
};

void WriteSize(TJsonWriter& Json, const std::optional<TPictureSize>& Size) {
  if (!Size) {
    Json.Null();
    return;
  }
  Json.BeginObject();
  Json.Key("height");
  Json.Integer(Size->Height);
  Json.Key("width");
  Json.Integer(Size->Width);
  Json.EndObject();
}

void WriteSection(TJsonWriter& Json, const TDumpInput& Input, const TJsonMember& Member) {
  Json.Key(Member.Key);
  Json.BeginArray();
  Member.Section->Records(*Member.Section, Input, Json);
  Json.EndArray();
}

void WriteComment(TJsonWriter& Json, const TDumpInput& Input, const TJsonMember& Member) {
  Json.Key(Member.Key);
  Json.String(Input.Document.Comment());
}

std::string HexBytes(std::string_view Text) {
  constexpr char Digits[] = "0123456789abcdef";
  std::string Hex;
  Hex.reserve(2 * Text.size());
  for (const char Char : Text) {
    const auto Byte = static_cast<unsigned char>(Char);
    Hex += Digits[Byte >> 4];
    Hex += Digits[Byte & 0xF];
  }
  return Hex;
}

// A name that is not UTF-8 (a file system's names are bytes) would lose its
// bad bytes to U+FFFD, and two names could print the same: "fileBytes"
// beside it then holds its bytes in hex ("fileBytes" sorts between "file"
// and "format").
void WriteFileName(TJsonWriter& Json, const TDumpInput& Input, const TJsonMember& Member) {
  Json.Key(Member.Key);
  Json.String(Input.FileName);
  if (IsUtf8({reinterpret_cast<const uint8_t*>(Input.FileName.data()), Input.FileName.size()})) return;
  Json.Key("fileBytes");
  Json.String(HexBytes(Input.FileName));
}

void WriteFormat(TJsonWriter& Json, const TDumpInput& Input, const TJsonMember& Member) {
  Json.Key(Member.Key);
  Json.String(Input.Document.FileFormat());
}

void WriteImage(TJsonWriter& Json, const TDumpInput& Input, const TJsonMember& Member) {
  if (!Input.WithImage) return;
  Json.Key(Member.Key);
  WriteSize(Json, Input.Image);
}

void WriteMakerNoteFormat(TJsonWriter& Json, const TDumpInput& Input, const TJsonMember& Member) {
  Json.Key(Member.Key);
  Json.String(MakerNoteFormatName(Input.Document.MakerNoteFormat()));
}

void WriteThumbnail(TJsonWriter& Json, const TDumpInput& Input, const TJsonMember& Member) {
  Json.Key(Member.Key);
  WriteSize(Json, ThumbnailSize(Input.Document));
}

// The members of a file's object that are no tab's.
constexpr TJsonMember FileMembers[] = {
    {"file", WriteFileName, nullptr},
    {"format", WriteFormat, nullptr},
    {"makerNoteFormat", WriteMakerNoteFormat, nullptr},
};

// A tab's member: its section's array of records, or what it shows.
TJsonMember TabMember(const TTabView& Tab) {
  switch (Tab.Kind) {
    case tkImage: return {Tab.Key, WriteImage, nullptr};
    case tkThumbnail: return {Tab.Key, WriteThumbnail, nullptr};
    case tkComment: return {Tab.Key, WriteComment, nullptr};
    default: return {Tab.Key, WriteSection, &SectionOfTab(Tab)};
  }
}

// Every member, a tab's and the file's own, in the byte order of their keys,
// which is the order a JSON library's sorted objects print in.
const std::vector<TJsonMember>& JsonMembers() {
  static const std::vector<TJsonMember> Members = [] {
    std::vector<TJsonMember> List(std::begin(FileMembers), std::end(FileMembers));
    for (const TTabView& Tab : TabViews) List.push_back(TabMember(Tab));
    std::sort(List.begin(), List.end(), [](const TJsonMember& A, const TJsonMember& B) { return A.Key < B.Key; });
    return List;
  }();
  return Members;
}

}  // namespace

void AppendDumpJson(std::string& Out, const TDumpInput& Input, TJsonLayout Layout) {
  const bool Pretty = Layout == TJsonLayout::jlPretty;
  if (Pretty) Out += "  ";
  TJsonWriter Json(Out, Layout, Pretty ? 1 : 0);
  Json.BeginObject();
  for (const TJsonMember& Member : JsonMembers()) Member.Write(Json, Input, Member);
  Json.EndObject();
}

void WriteDumpJson(std::ostream& Out, const TDumpInput& Input) {
  std::string Text;
  AppendDumpJson(Text, Input, TJsonLayout::jlPretty);
  Out.write(Text.data(), static_cast<std::streamsize>(Text.size()));
}
