// The JSON writer against the JSON that nlohmann::json builds and dumps for
// the same document, as the dump printed it before it wrote JSON itself:
// byte for byte, for strings and numbers of every kind and for whole files
// (the real photos, the hostile files and the kept fuzz inputs).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>

#include "Corpus.h"
#include "DumpFormat.h"
#include "HostileFiles.h"
#include "TextCodec.h"

namespace {

std::string Library(const nlohmann::json& Value, int Indent = -1) {
  return Value.dump(Indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

TEST(DumpJson, StringsAndNumbersAsTheLibraryWritesThem) {
  std::vector<std::string> Strings = {
      "", "plain", "quote \" backslash \\ slash /", "\b\f\n\r\t\x01\x1F\x7F end",
      "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\xB7 \xC2\x85", "lone \x80 \xBF \xC0\xAF \xC1 \xF5 \xFF",
      "cut \xE2\x82", "cut \xF0\x9F\x93", "cut at \xE2\x82(", "surrogate \xED\xA0\x80", "overlong \xE0\x80\xAF",
      "above \xF4\x90\x80\x80", std::string("nul \0 inside", 12), "eight plain bytes, then \x01",
  };
  std::mt19937 Random(24);
  for (int Case = 0; Case < 2000; ++Case) {
    std::string Bytes(Random() % 24, ' ');
    for (char& Byte : Bytes) Byte = static_cast<char>(Random() % 3 == 0 ? Random() % 128 : 0x80 + Random() % 128);
    Strings.push_back(Bytes);
  }
  for (const std::string& Text : Strings) {
    std::string Ours;
    AppendJsonString(Ours, Text);
    ASSERT_EQ(Ours, Library(Text)) << nlohmann::json(Text).dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
  }

  std::vector<double> Numbers = {0.0, -0.0, 1.0, 6.0, -3.0, 0.008, 0.33, 1e15, 1e15 - 1, 999999999999999.9,
                                 1e-5, 1e-4, 1e21, 123.456, -2.5e-300, 5e-324,
                                 std::numeric_limits<double>::max(), std::numeric_limits<double>::quiet_NaN(),
                                 -std::numeric_limits<double>::infinity()};
  for (int Case = 0; Case < 20000; ++Case) {
    const uint64_t Bits = uint64_t{Random()} << 32 | Random();
    double Value;
    std::memcpy(&Value, &Bits, sizeof Value);
    Numbers.push_back(Value);
    Numbers.push_back(static_cast<double>(Random() % 100000) / static_cast<double>(1 + Random() % 1000));
    Numbers.push_back(static_cast<double>(Bits >> (Random() % 64)));
  }
  for (const double Number : Numbers) {
    std::string Ours;
    AppendJsonNumber(Ours, Number);
    ASSERT_EQ(Ours, Library(Number));
  }
}

// The file's object as the dump built it with the library: a JSON value
// per record, keys sorted by the library's object.
nlohmann::json LibraryObject(const TDumpInput& Input) {
  const TEXIF& Doc = Input.Document;
  const auto Size = [](const std::optional<TPictureSize>& Picture) -> nlohmann::json {
    if (!Picture) return nullptr;
    return {{"width", Picture->Width}, {"height", Picture->Height}};
  };
  nlohmann::json File = {
      {"comment", Doc.Comment()},
      {"file", Input.FileName},
      {"format", Doc.FileFormat()},
      {"makerNoteFormat", MakerNoteFormatName(Doc.MakerNoteFormat())},
      {"thumbnail", Size(ThumbnailSize(Doc))},
  };
  if (Input.WithImage) File["image"] = Size(Input.Image);
  if (!IsUtf8({reinterpret_cast<const uint8_t*>(Input.FileName.data()), Input.FileName.size()})) {
    std::string Hex;
    for (const char Char : Input.FileName) {
      char Digits[3];
      std::snprintf(Digits, sizeof Digits, "%02x", static_cast<unsigned char>(Char));
      Hex += Digits;
    }
    File["fileBytes"] = Hex;
  }
  for (const TTabView& Tab : TabViews) {
    if (Tab.Kind != tkTags) continue;
    const TTagView& View = *Tab.Tags;
    nlohmann::json Records = nlohmann::json::array();
    ForEachRecord(Doc, View, [&](const TEXIFTag& Rec) {
      nlohmann::json Numbers = nlohmann::json::array();
      for (const double Number : Rec.NumericValue)
        Numbers.push_back(std::isfinite(Number) ? nlohmann::json(Number) : nlohmann::json(nullptr));
      Records.push_back({{"tag", Rec.Header.Tag}, {"name", Rec.Header.Name}, {"units", Rec.Header.Units},
                         {"dim", Rec.Header.Dim}, {"typ", Rec.Typ}, {"numbers", Numbers},
                         {"string", Rec.StringValue}, {"value", View.ValueText(Doc, Rec)}});
    });
    File[std::string(Tab.Key)] = Records;
  }
  File["xmp"] = nlohmann::json::array();
  for (const TXmpProperty& Row : Doc.XmpProperties()) {
    File["xmp"].push_back({{"path", Row.Path}, {"name", Row.Name}, {"value", Row.Value}});
    if (Row.Sidecar) File["xmp"].back()["sidecar"] = true;
  }
  File["iptc"] = nlohmann::json::array();
  for (const TIptcDataset& Row : Doc.IptcDatasets())
    File["iptc"].push_back({{"record", Row.Record}, {"dataset", Row.Dataset}, {"name", Row.Name}, {"value", Row.Value}});
  return File;
}

// An element of the top-level array: two spaces in.
std::string PrettyElement(const nlohmann::json& Object) {
  std::string Text = "  ";
  for (const char Char : Library(Object, 2)) Text += Char == '\n' ? std::string_view("\n  ") : std::string_view(&Char, 1);
  return Text;
}

TBytes FileBytes(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

TEST(DumpJson, FilesAsTheLibraryWroteThem) {
  std::vector<std::pair<std::string, TBytes>> Files;
  for (THostileFile& File : HostileFiles()) Files.emplace_back(File.Name, std::move(File.Bytes));
  for (const std::string& File : CorpusFiles()) Files.emplace_back(File, FileBytes(File));
  const size_t WithVariants = Files.size();  // the kept fuzz inputs without the image and the bad name
  for (const auto& Entry : std::filesystem::recursive_directory_iterator(LUMENTAG_FUZZ_INPUTS))
    if (Entry.is_regular_file()) Files.emplace_back(Entry.path().string(), FileBytes(Entry.path().string()));
  ASSERT_GT(Files.size(), 200u);
  for (size_t Index = 0; Index < Files.size(); ++Index) {
    const auto& [Name, Bytes] = Files[Index];
    // The library takes seconds over the 100,000 records of the two largest
    // hostile files, which repeat one record.
    if (Bytes.size() > 200000) continue;
    SCOPED_TRACE(Name);
    TEXIF Doc;
    LoadBytes(Doc, Bytes);
    const std::string BadName = "bad \xFF name";
    const TDumpInput Inputs[] = {{Name, Doc}, {Name, Doc, true, TPictureSize{3, 4}}, {BadName, Doc, true}};
    for (const TDumpInput& Input : std::span(Inputs, Index < WithVariants ? 3 : 1)) {
      const nlohmann::json Object = LibraryObject(Input);
      std::string Pretty, Compact;
      AppendDumpJson(Pretty, Input, TJsonLayout::jlPretty);
      AppendDumpJson(Compact, Input, TJsonLayout::jlCompact);
      ASSERT_EQ(Pretty, PrettyElement(Object));
      ASSERT_EQ(Compact, Library(Object));
    }
  }
}

}  // namespace
