#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "EXIF_Defs.h"
#include "MakerNotes.h"
#include "TagLookup.h"
#include "Words.h"

namespace {

using TRows = std::span<const TEXIFTagHeader>;

struct TTableCase {
  const char* Name;
  TRows Rows;
  const TTagTable& Table;
  size_t Count;
};

const TTableCase Tables[] = {
    {"DirectoryPointerTags", DirectoryPointerTags, DirectoryPointerTable, 5},
    {"IFD0Tags", IFD0Tags, IFD0Table, 30},
    {"EXIFTags", EXIFTags, EXIFTable, 52},
    {"InteropTags", InteropTags, InteropTable, 4},
    {"CanonTags", CanonTags, CanonTable, 7},
    {"NikonTags", NikonTags, NikonTable, 14},
    {"OlympusTags", OlympusTags, OlympusTable, 9},
    {"PanasonicTags", PanasonicTags, PanasonicTable, 14},
    {"FujiTags", FujiTags, FujiTable, 16},
    {"CasioTags", CasioTags, CasioTable, 12},
    {"MinoltaTags", MinoltaTags, MinoltaTable, 5},
    {"GPSTags", GPSTags, GPSTable, 31},
};

TEST(TagTables, CountsAndNoDuplicateTags) {
  for (const TTableCase& Case : Tables) {
    SCOPED_TRACE(Case.Name);
    EXPECT_EQ(Case.Rows.size(), Case.Count);
    EXPECT_EQ(Case.Table.Rows.data(), Case.Rows.data());
    std::set<uint16_t> Seen;
    for (const TEXIFTagHeader& Row : Case.Rows) {
      EXPECT_TRUE(Seen.insert(Row.Tag).second) << "tag 0x" << std::hex << Row.Tag << " twice";
      EXPECT_FALSE(Row.Name.empty());
      EXPECT_GE(Row.Dim, 1);
      EXPECT_LE(Row.Dim, 4);
    }
  }
}

// Spot checks of rows whose exact text, units, Dim or position matters: the
// oddities are the program's own words and must stay letter for letter.
TEST(TagTables, RowsAsStored) {
  struct TRowCase {
    TRows Table;
    size_t Position;
    uint16_t Tag;
    uint8_t Dim;
    std::string_view Name;
    std::string_view Units;
  };
  const TRowCase Cases[] = {
      {DirectoryPointerTags, 4, 0x9286, 1, "Comment", ""},
      {IFD0Tags, 0, 0x0100, 1, "Image Width", " px"},
      {IFD0Tags, 5, 0x0112, 1, "Orientation", ""},
      {IFD0Tags, 10, 0x011A, 1, "X Resolution", " px"},
      {IFD0Tags, 15, 0x0117, 1, "Strip Byte Conunts", ""},
      {IFD0Tags, 16, 0x0201, 1, "Jpeg IF Offset", ""},
      {IFD0Tags, 29, 0x8298, 1, "Copyright", ""},
      {EXIFTags, 4, 0x9102, 1, "Compression Mode", " bits per pixel"},
      {EXIFTags, 13, 0x829A, 1, "Exposure Time", " s"},
      {EXIFTags, 22, 0x9204, 1, "Exposure Bias", "EV"},
      {EXIFTags, 30, 0xA20B, 1, "Flash Energy", " BCPS"},
      {EXIFTags, 51, 0xA420, 1, "Unique Image ID", ""},
      {InteropTags, 3, 0x1002, 1, "Related Image Length", " px"},
      {NikonTags, 10, 0x0082, 1, "Auxilitary Lens", ""},
      {NikonTags, 12, 0x0086, 1, "Digital Zoom", " x"},
      {PanasonicTags, 9, 0x0023, 1, "White Balance Adjust", " 1/3EV"},
      {PanasonicTags, 13, 0x002D, 1, "Noise Reducton", ""},
      {FujiTags, 7, 0x1011, 1, "Flash Strength", " EV"},
      {FujiTags, 12, 0x1100, 1, "ContTake/Bracket", ""},
      {CasioTags, 5, 0x0006, 1, "Object Distance", " mm"},
      {MinoltaTags, 3, 0x0040, 1, "Compressed Image Size", " B"},
      {GPSTags, 0, 0x0000, 4, "Version ID", ""},
      {GPSTags, 2, 0x0002, 3, "Latitude", ""},
      {GPSTags, 3, 0x0003, 1, "Longiture Ref", ""},
      {GPSTags, 6, 0x0006, 1, "Altitude", "m"},
      {GPSTags, 7, 0x0007, 3, "Timestamp", ""},
      {GPSTags, 20, 0x0014, 3, "Dest Latitude", ""},
      {GPSTags, 21, 0x0015, 1, "Dest Longiture Ref", ""},
      {GPSTags, 22, 0x0016, 3, "Dest Longitude", ""},
      {GPSTags, 30, 0x001E, 1, "Differential", ""},
  };
  for (const TRowCase& Case : Cases) {
    SCOPED_TRACE(std::string(Case.Name));
    const TEXIFTagHeader& Row = Case.Table[Case.Position];
    EXPECT_EQ(Row.Tag, Case.Tag);
    EXPECT_EQ(Row.Dim, Case.Dim);
    EXPECT_EQ(Row.Name, Case.Name);
    EXPECT_EQ(Row.Units, Case.Units);
  }
}

// The lookup finds, for every tag number, the row a scan from the first row finds.
TEST(TagTables, LookupFindsTheFirstMatchingRow) {
  for (const TTableCase& Case : Tables) {
    for (uint32_t Tag = 0; Tag <= 0xFFFF; ++Tag) {
      const TEXIFTagHeader* Scanned = nullptr;
      for (const TEXIFTagHeader& Row : Case.Rows)
        if (Row.Tag == Tag) {
          Scanned = &Row;
          break;
        }
      ASSERT_EQ(FindTagHeader(Case.Table, static_cast<uint16_t>(Tag)), Scanned) << Case.Name << " " << Tag;
    }
  }
}

TEST(TagTables, OnlyGPSRowsHaveDimAboveOne) {
  size_t Wide = 0;
  for (const TTableCase& Case : Tables)
    for (const TEXIFTagHeader& Row : Case.Rows)
      if (Row.Dim != 1) {
        EXPECT_EQ(Case.Rows.data(), GPSTags.data()) << Row.Name;
        ++Wide;
      }
  EXPECT_EQ(Wide, 6u);
}

TEST(TagTables, SameNumberNamedByItsDirectory) {
  struct TCase {
    const TTagTable& Table;
    const char* Expected;  // nullptr: not found
  };
  const TCase Cases[] = {
      {InteropTable, "Interoperability Index"}, {GPSTable, "Latitude Ref"},
      {MakerNoteTags(mnfCanon), "Camera Settings 1"}, {MakerNoteTags(mnfPanasonic), "Image Quality"},
      {MakerNoteTags(mnfCasio), "Recording Mode"}, {MakerNoteTags(mnfMinolta), "Old Camera Settings"},
      {MakerNoteTags(mnfNikon), nullptr}, {MakerNoteTags(mnfOlympus), nullptr},
      {MakerNoteTags(mnfFuji), nullptr}, {MakerNoteTags(mnfUnknown), nullptr},
  };
  for (const TCase& Case : Cases) {
    const TEXIFTagHeader* Row = FindTagHeader(Case.Table, 0x0001);
    if (Case.Expected == nullptr) {
      EXPECT_EQ(Row, nullptr);
    } else {
      ASSERT_NE(Row, nullptr) << Case.Expected;
      EXPECT_EQ(Row->Name, Case.Expected);
    }
  }
}

TEST(TagTables, PointerTagsStandOnlyInThePointerTable) {
  for (const TEXIFTagHeader& Pointer : DirectoryPointerTags) {
    EXPECT_EQ(FindTagHeader(IFD0Table, Pointer.Tag), nullptr) << Pointer.Name;
    EXPECT_EQ(FindTagHeader(EXIFTable, Pointer.Tag), nullptr) << Pointer.Name;
  }
  EXPECT_EQ(FindTagHeader(EXIFTable, 0xA300), nullptr);
}

TEST(TagTables, MakerNoteTablesAndFormatNames) {
  EXPECT_EQ(MakerNoteTags(mnfCanon).Rows.data(), CanonTags.data());
  EXPECT_EQ(MakerNoteTags(mnfNikon).Rows.data(), NikonTags.data());
  EXPECT_EQ(MakerNoteTags(mnfOlympus).Rows.data(), OlympusTags.data());
  EXPECT_EQ(MakerNoteTags(mnfPanasonic).Rows.data(), PanasonicTags.data());
  EXPECT_EQ(MakerNoteTags(mnfFuji).Rows.data(), FujiTags.data());
  EXPECT_EQ(MakerNoteTags(mnfCasio).Rows.data(), CasioTags.data());
  EXPECT_EQ(MakerNoteTags(mnfMinolta).Rows.data(), MinoltaTags.data());
  EXPECT_TRUE(MakerNoteTags(mnfUnknown).Rows.empty());
  EXPECT_EQ(FindTagHeader(MakerNoteTags(mnfUnknown), 0x0001), nullptr);
  EXPECT_EQ(MakerNoteFormatName(mnfUnknown), "mnfUnknown");
  EXPECT_EQ(MakerNoteFormatName(mnfMinolta), "mnfMinolta");
  EXPECT_EQ(MakerNoteFormatName(mnfApple), "mnfApple");
  EXPECT_EQ(MakerNoteFormatName(mnfSony), "mnfSony");
  EXPECT_EQ(MakerNoteFormatName(mnfSamsung), "mnfSamsung");
  EXPECT_EQ(MakerNoteFormatName(mnfPentax), "mnfPentax");
  EXPECT_EQ(MakerNoteFormatName(static_cast<TMakerNoteFormat>(12)), "mnfUnknown");
}

// The tables of Apple, Sony, Samsung and Pentax: a row per tag, each found
// by the lookup, with a name and at most 4 values to decode.
TEST(TagTables, NewMakerTables) {
  struct TCase {
    TMakerNoteFormat Format;
    size_t Count;
  };
  for (const TCase& Case : {TCase{mnfApple, 36}, TCase{mnfSony, 104}, TCase{mnfSamsung, 53}, TCase{mnfPentax, 153}}) {
    const TTagTable& Table = MakerNoteTags(Case.Format);
    SCOPED_TRACE(std::string(MakerNoteFormatName(Case.Format)));
    EXPECT_EQ(Table.Rows.size(), Case.Count);
    std::set<uint16_t> Seen;
    for (const TEXIFTagHeader& Row : Table.Rows) {
      EXPECT_TRUE(Seen.insert(Row.Tag).second) << "tag 0x" << std::hex << Row.Tag << " twice";
      EXPECT_EQ(FindTagHeader(Table, Row.Tag), &Row);
      EXPECT_FALSE(Row.Name.empty());
      EXPECT_GE(Row.Dim, 1);
      EXPECT_LE(Row.Dim, 4);
    }
    EXPECT_EQ(FindTagHeader(Table, 0xFFFF), nullptr);
  }
}

// The tags a table of words or rules gives texts to, each found by the
// table's own lookup.
template <class TRow>
std::vector<uint16_t> TagsOf(const TTagIndexed<TRow>& Table) {
  std::vector<uint16_t> Tags;
  for (const TRow& Row : Table.Rows) {
    EXPECT_EQ(Table.Find(Row.Tag), &Row) << "0x" << std::hex << Row.Tag;
    Tags.push_back(Row.Tag);
  }
  return Tags;
}

// A row for a tag its directory does not know would never be used.
TEST(TagTables, WordTablesNameTagsOfTheirDirectory) {
  struct TCase {
    const char* Name;
    std::vector<uint16_t> Tags;
    const TTagTable& Directory;
    size_t Count;
  };
  const TCase Cases[] = {
      {"TIFFWords", TagsOf(TIFFWords), IFD0Table, 5},
      {"EXIFWords", TagsOf(EXIFWords), EXIFTable, 16},
      {"GPSTexts", TagsOf(GPSTexts), GPSTable, 17},
      {"Canon", TagsOf(MakerNoteWords(mnfCanon)), CanonTable, 0},
      {"Nikon", TagsOf(MakerNoteWords(mnfNikon)), NikonTable, 6},
      {"Olympus", TagsOf(MakerNoteWords(mnfOlympus)), OlympusTable, 3},
      {"Panasonic", TagsOf(MakerNoteWords(mnfPanasonic)), PanasonicTable, 11},
      {"Fuji", TagsOf(MakerNoteWords(mnfFuji)), FujiTable, 13},
      {"Casio", TagsOf(MakerNoteWords(mnfCasio)), CasioTable, 11},
      {"Minolta", TagsOf(MakerNoteWords(mnfMinolta)), MinoltaTable, 0},
      {"Apple", TagsOf(MakerNoteWords(mnfApple)), MakerNoteTags(mnfApple), 5},
      {"Sony", TagsOf(MakerNoteWords(mnfSony)), MakerNoteTags(mnfSony), 40},
      {"Sony rules", TagsOf(*MakerOf(mnfSony).Texts), MakerNoteTags(mnfSony), 4},
      {"Samsung", TagsOf(MakerNoteWords(mnfSamsung)), MakerNoteTags(mnfSamsung), 10},
      {"Pentax", TagsOf(MakerNoteWords(mnfPentax)), MakerNoteTags(mnfPentax), 28},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    EXPECT_EQ(Case.Tags.size(), Case.Count);
    for (uint16_t Tag : Case.Tags)
      EXPECT_NE(FindTagHeader(Case.Directory, Tag), nullptr) << "0x" << std::hex << Tag;
  }
}

}  // namespace
