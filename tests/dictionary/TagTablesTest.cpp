#include <gtest/gtest.h>

#include <set>

#include "EXIF_Defs.h"

namespace {

struct TTableCase {
  const char* Name;
  TTagTable Table;
  size_t Rows;
};

const TTableCase Tables[] = {
    {"DirectoryPointerTags", DirectoryPointerTags, 5},
    {"IFD0Tags", IFD0Tags, 30},
    {"EXIFTags", EXIFTags, 52},
    {"InteropTags", InteropTags, 4},
    {"CanonTags", CanonTags, 7},
    {"NikonTags", NikonTags, 14},
    {"OlympusTags", OlympusTags, 9},
    {"PanasonicTags", PanasonicTags, 14},
    {"FujiTags", FujiTags, 16},
    {"CasioTags", CasioTags, 12},
    {"MinoltaTags", MinoltaTags, 5},
    {"GPSTags", GPSTags, 31},
};

TEST(TagTables, CountsAndNoDuplicateTags) {
  for (const TTableCase& Case : Tables) {
    SCOPED_TRACE(Case.Name);
    EXPECT_EQ(Case.Table.size(), Case.Rows);
    std::set<uint16_t> Seen;
    for (const TEXIFTagHeader& Row : Case.Table) {
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
    TTagTable Table;
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

TEST(TagTables, OnlyGPSRowsHaveDimAboveOne) {
  size_t Wide = 0;
  for (const TTableCase& Case : Tables)
    for (const TEXIFTagHeader& Row : Case.Table)
      if (Row.Dim != 1) {
        EXPECT_EQ(Case.Table.data(), GPSTags.data()) << Row.Name;
        ++Wide;
      }
  EXPECT_EQ(Wide, 6u);
}

TEST(TagTables, SameNumberNamedByItsDirectory) {
  struct TCase {
    TTagTable Table;
    const char* Expected;  // nullptr: not found
  };
  const TCase Cases[] = {
      {InteropTags, "Interoperability Index"}, {GPSTags, "Latitude Ref"},
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
    EXPECT_EQ(FindTagHeader(IFD0Tags, Pointer.Tag), nullptr) << Pointer.Name;
    EXPECT_EQ(FindTagHeader(EXIFTags, Pointer.Tag), nullptr) << Pointer.Name;
  }
  EXPECT_EQ(FindTagHeader(EXIFTags, 0xA300), nullptr);
}

TEST(TagTables, MakerNoteTablesAndFormatNames) {
  EXPECT_EQ(MakerNoteTags(mnfCanon).data(), CanonTags.data());
  EXPECT_EQ(MakerNoteTags(mnfNikon).data(), NikonTags.data());
  EXPECT_EQ(MakerNoteTags(mnfOlympus).data(), OlympusTags.data());
  EXPECT_EQ(MakerNoteTags(mnfPanasonic).data(), PanasonicTags.data());
  EXPECT_EQ(MakerNoteTags(mnfFuji).data(), FujiTags.data());
  EXPECT_EQ(MakerNoteTags(mnfCasio).data(), CasioTags.data());
  EXPECT_EQ(MakerNoteTags(mnfMinolta).data(), MinoltaTags.data());
  EXPECT_TRUE(MakerNoteTags(mnfUnknown).empty());
  EXPECT_EQ(MakerNoteFormatName(mnfUnknown), "mnfUnknown");
  EXPECT_EQ(MakerNoteFormatName(mnfMinolta), "mnfMinolta");
}

}  // namespace
