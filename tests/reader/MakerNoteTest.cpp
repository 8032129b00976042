// Maker notes of every maker, built byte by byte: detection from the
// Make tag, each maker's start offset and byte order, the zero-tag and count
// rules, and the unpacking of the Canon and Minolta settings arrays.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "DocumentInternals.h"
#include "EXIF_Intf.h"
#include "ExifWriter.h"

namespace {

// One maker-note entry; Data is the value in the note's byte order, written
// into the entry when it fits and after the entries otherwise.
struct TNoteEntry {
  uint16_t Tag;
  uint16_t Type;
  uint32_t Count;
  TBytes Data;
};

// A maker note: Header (signature bytes), the 16-bit count, the entries, a
// zero link, then the values that did not fit. Offsets count from Base.
TBytes NoteBytes(const TBytes& Header, const std::vector<TNoteEntry>& Entries, TByteOrder Order,
                 uint32_t Base, std::optional<uint16_t> Count = std::nullopt) {
  TBytes Note = Header;
  const TBytes CountBytes = U16(Count.value_or(static_cast<uint16_t>(Entries.size())), Order);
  Note.insert(Note.end(), CountBytes.begin(), CountBytes.end());
  const size_t DataStart = Note.size() + Entries.size() * 12 + 4;
  TBytes Data;
  for (const TNoteEntry& Entry : Entries) {
    TBytes Field = Entry.Data;
    if (Field.size() > 4) {
      Field = U32(static_cast<uint32_t>(Base + DataStart + Data.size()), Order);
      Data.insert(Data.end(), Entry.Data.begin(), Entry.Data.end());
    }
    Field.resize(4, 0);
    Note = Concat({Note, U16(Entry.Tag, Order), U16(Entry.Type, Order), U32(Entry.Count, Order), Field});
  }
  return Concat({Note, U32(0, Order), Data});
}

struct TRow {
  uint16_t Tag;
  std::string Name;
  std::string Value;
};

bool operator==(const TRow& A, const TRow& B) {
  return A.Tag == B.Tag && A.Name == B.Name && A.Value == B.Value;
}

std::ostream& operator<<(std::ostream& Out, const TRow& Row) {
  return Out << "{0x" << std::hex << Row.Tag << std::dec << ", " << Row.Name << ", " << Row.Value << "}";
}

std::vector<TRow> MakerRows(const TEXIF& Doc) {
  std::vector<TRow> Rows;
  for (int32_t Index = 0; Index < Doc.MakerNoteCount(); ++Index) {
    const TEXIFTag Rec = Doc.MakerNoteTag(static_cast<uint16_t>(Index));
    Rows.push_back({Rec.Header.Tag, std::string(Rec.Header.Name),
                    MakerNoteValueText(Doc.MakerNoteFormat(), Rec)});
  }
  return Rows;
}

TEXIF LoadTiff(const TBytes& Tiff) {
  TEXIF Doc;
  LoadBytes(Doc, JpegWith({ExifSegment(Tiff)}));
  return Doc;
}

TBytes Short(uint16_t Value, TByteOrder Order) { return U16(Value, Order); }

TEST(MakerNote, FormatFromTheMake) {
  struct TCase {
    const char* Make;
    TMakerNoteFormat Format;
  };
  const TCase Cases[] = {
      {"Canon", mnfCanon},
      {"canon", mnfCanon},
      {"NIKON CORPORATION", mnfNikon},
      {"OLYMPUS OPTICAL CO.,LTD", mnfOlympus},
      {"Panasonic", mnfPanasonic},
      {"FUJIFILM", mnfFuji},
      {"CASIO COMPUTER CO.,LTD.", mnfCasio},
      {"Minolta Co., Ltd.", mnfMinolta},
      {"KONICA MINOLTA", mnfUnknown},
      {"SONY", mnfSony},
      {"Apple", mnfApple},
      {"samsung", mnfSamsung},
      {"PENTAX Corporation", mnfPentax},
      {"Asahi Optical Co.,Ltd", mnfPentax},
      {"RICOH IMAGING COMPANY, LTD.", mnfUnknown},  // a Pentax only with a Pentax note
      {"Cano", mnfUnknown},
      {"", mnfUnknown},
  };
  for (const TCase& Case : Cases) {
    TIfd Ifd0;
    Ifd0.Ascii(0x010F, Case.Make);
    const TEXIF Doc = LoadTiff(TiffBlock(Ifd0));
    EXPECT_EQ(Doc.MakerNoteFormat(), Case.Format) << Case.Make;
  }
}

// The last Make that matches a maker decides; one that matches none changes nothing.
TEST(MakerNote, LastMatchingMakeWins) {
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Ascii(0x010F, "CASIO").Ascii(0x010F, "KONICA MINOLTA");
  EXPECT_EQ(LoadTiff(TiffBlock(Ifd0)).MakerNoteFormat(), mnfCasio);
}

struct TMakerCase {
  const char* What;
  std::string Make;
  TBytes Header;  // bytes before the count
  std::function<std::vector<TNoteEntry>(TByteOrder)> Entries;
  std::vector<TRow> Rows;
};

// Every maker's note read from its own start offset, in both byte orders.
TEST(MakerNote, EachMakersLayout) {
  const TMakerCase Cases[] = {
      {"Canon: plain directory",
       "Canon",
       {},
       [](TByteOrder O) {
         return std::vector<TNoteEntry>{
             {0x0006, ftAscii, 12, BytesOf(std::string("IMG:PowerS\0\0", 12))},
             {0x0008, ftLong, 1, U32(1181861, O)},
             {0x0099, ftShort, 1, Short(1, O)},
             {0x0009, ftAscii, 4, BytesOf(std::string("Me\0\0", 4))},
         };
       },
       {{0x0006, "Image Type", "IMG:PowerS"}, {0x0008, "Image Number", "1181861"}, {0x0009, "Owner Name", "Me"}}},
      {"Nikon: signature without a TIFF header of its own",
       "NIKON CORPORATION",
       Concat({BytesOf(std::string("Nikon\0\x02\x10\0\0", 10)), TBytes(8, 0)}),
       [](TByteOrder O) {
         return std::vector<TNoteEntry>{
             {0x0003, ftShort, 1, Short(5, O)},
             {0x0007, ftShort, 1, Short(3, O)},
             {0x0086, ftRational, 1, Concat({U32(3, O), U32(2, O)})},
         };
       },
       {{0x0003, "Quality", "SXGA Normal"},
        {0x0007, "White Balance", "Incandescence"},
        {0x0086, "Digital Zoom", "1.5 (3/2) x"}}},
      {"Olympus: 8-byte signature",
       "OLYMPUS OPTICAL CO.,LTD",
       BytesOf(std::string("OLYMP\0\x01\0", 8)),
       [](TByteOrder O) {
         return std::vector<TNoteEntry>{
             {0x0200, ftLong, 3, Concat({U32(0, O), U32(1, O), U32(0, O)})},
             {0x0201, ftShort, 1, Short(2, O)},
             {0x0207, ftAscii, 6, BytesOf(std::string("SR951\0", 6))},
         };
       },
       {{0x0200, "Special Mode", "Normal"}, {0x0201, "JPEG Quality", "High"}, {0x0207, "Firmware Version", "SR951"}}},
      {"Panasonic: 12-byte signature",
       "Panasonic",
       BytesOf(std::string("Panasonic\0\0\0", 12)),
       [](TByteOrder O) {
         return std::vector<TNoteEntry>{
             {0x001F, ftShort, 1, Short(21, O)},
             {0x0023, ftSShort, 1, Short(0xFFFE, O)},
             {0x000F, ftShort, 1, Short(0, O)},
         };
       },
       {{0x001F, "Shooting Mode", "Night Scenery"},
        {0x0023, "White Balance Adjust", "-2 1/3EV"},
        {0x000F, "Spot Mode", "0"}}},
      {"Casio: plain directory",
       "CASIO COMPUTER CO.,LTD.",
       {},
       [](TByteOrder O) {
         return std::vector<TNoteEntry>{
             {0x0014, ftShort, 1, Short(80, O)},
             {0x000A, ftLong, 1, U32(0x10001, O)},
             {0x0006, ftLong, 1, U32(2500, O)},
         };
       },
       {{0x0014, "CCD Sensitivity", "Normal"}, {0x000A, "Digital Zoom", "2x"}, {0x0006, "Object Distance", "2500 mm"}}},
  };
  for (const TMakerCase& Case : Cases) {
    for (TByteOrder Order : BothOrders) {
      SCOPED_TRACE(std::string(Case.What) + " " + OrderName(Order));
      const TEXIF Doc = LoadTiff(TiffWithMakerNote(
          Case.Make, [&](uint32_t Base) { return NoteBytes(Case.Header, Case.Entries(Order), Order, Base); },
          Order));
      EXPECT_EQ(MakerRows(Doc), Case.Rows);
    }
  }
}

// A Nikon note with a TIFF header of its own at note + 10 is read in that
// header's byte order, with value offsets from it, whatever the file's order;
// tags 3 to 0x0B, which mean other things there than in the older layout,
// are left out.
TEST(MakerNote, NikonWithItsOwnTiffHeader) {
  for (TByteOrder FileOrder : BothOrders) {
    for (TByteOrder NoteOrder : BothOrders) {
      SCOPED_TRACE("file " + OrderName(FileOrder) + ", note " + OrderName(NoteOrder));
      const TBytes Header = Concat({BytesOf(std::string("Nikon\0\x02\x10\0\0", 10)),
                                    BytesOf(std::string(NoteOrder == TByteOrder::Big ? "MM\0*" : "II*\0", 4)), U32(8, NoteOrder)});
      const std::vector<TNoteEntry> Entries = {
          {0x0003, ftShort, 1, Short(5, NoteOrder)},
          {0x000F, ftAscii, 6, BytesOf(std::string("AUTO \0", 6))},
          {0x000B, ftShort, 1, Short(3, NoteOrder)},
          {0x0086, ftRational, 1, Concat({U32(3, NoteOrder), U32(2, NoteOrder)})},
      };
      // Offsets count from the note's own header, 10 bytes into the note.
      const uint32_t OwnHeaderBase = 0u - 10u;
      const TEXIF Doc = LoadTiff(TiffWithMakerNote(
          "NIKON", [&](uint32_t) { return NoteBytes(Header, Entries, NoteOrder, OwnHeaderBase); }, FileOrder));
      EXPECT_EQ(MakerRows(Doc), (std::vector<TRow>{{0x000F, "ISO selection", "AUTO"},
                                                   {0x0086, "Digital Zoom", "1.5 (3/2) x"}}));
      EXPECT_EQ(TEXIFInternals::Swapped(Doc), FileOrder == TByteOrder::Big);
    }
  }
}

// Fuji notes are little-endian in every file, with offsets from the note's
// first byte, and they leave the document's byte order little-endian.
TEST(MakerNote, FujiOwnOffsetsAndByteOrder) {
  const TByteOrder Le = TByteOrder::Little;
  const std::vector<TNoteEntry> Entries = {
      {0x0000, ftUndefined, 4, BytesOf("0130")},
      {0x1000, ftAscii, 8, BytesOf(std::string("NORMAL \0", 8))},
      {0x1002, ftShort, 1, U16(3840, Le)},
      {0x1011, ftSRational, 1, Concat({U32(static_cast<uint32_t>(-5), Le), U32(10, Le)})},
      {0x0000, ftShort, 1, U16(7, Le)},  // a second zero tag ends the walk
      {0x1010, ftShort, 1, U16(3, Le)},
  };
  const TBytes Header = Concat({BytesOf("FUJIFILM"), U32(12, Le)});
  for (TByteOrder FileOrder : BothOrders) {
    SCOPED_TRACE(OrderName(FileOrder));
    const TEXIF Doc = LoadTiff(
        TiffWithMakerNote("FUJIFILM", [&](uint32_t) { return NoteBytes(Header, Entries, Le, 0, 6); }, FileOrder));
    EXPECT_EQ(MakerRows(Doc), (std::vector<TRow>{{0x0000, "Version", "0130"},
                                                 {0x1000, "Quality", "NORMAL"},
                                                 {0x1002, "White Balance", "Custom"},
                                                 {0x1011, "Flash Strength", "-0.5 (-5/10) EV"}}));
    EXPECT_FALSE(TEXIFInternals::Swapped(Doc));
  }
}

// Minolta: the signature (tag 0) is stored; the settings arrays hold 50
// big-endian items after a first word that is not a setting.
TEST(MakerNote, MinoltaSettings) {
  TBytes Settings = U32(0xDEADBEEF, TByteOrder::Big);  // skipped
  const uint32_t Items[] = {1, 3, 12, 2, 2, 7};
  for (uint32_t Item : Items) Settings = Concat({Settings, U32(Item, TByteOrder::Big)});
  Settings.resize(4 + 50 * 4, 0);
  for (TByteOrder Order : BothOrders) {
    SCOPED_TRACE(OrderName(Order));
    const std::vector<TNoteEntry> Entries = {
        {0x0000, ftUndefined, 4, BytesOf("MLT0")},
        {0x0003, ftLong, 51, Settings},
        {0x0040, ftLong, 1, U32(2396300, Order)},
    };
    const TEXIF Doc = LoadTiff(TiffWithMakerNote(
        "Minolta Co., Ltd.", [&](uint32_t Base) { return NoteBytes({}, Entries, Order, Base); }, Order));
    EXPECT_EQ(MakerRows(Doc), (std::vector<TRow>{{0x0000, "Signature", "MLT0"},
                                                 {0x0001, "Exposure Mode", "A"},
                                                 {0x0002, "Flash Mode", "Wireless"},
                                                 {0x0003, "White Balance", "Custom 3"},
                                                 {0x0004, "Image Size", "1280 x 960"},
                                                 {0x0005, "Image Quality", "Fine"},
                                                 {0x0040, "Compressed Image Size", "2396300 B"}}));
  }
}

TBytes CanonArray(std::vector<uint16_t> Items) {
  TBytes Out = U16(static_cast<uint16_t>((Items.size() + 1) * 2));
  for (uint16_t Item : Items) Out = Concat({Out, U16(Item)});
  return Out;
}

// Both Canon arrays in one note; rejected items leave no row; the one record
// reused for all items keeps what an item does not write.
TEST(MakerNote, CanonSettingsArrays) {
  std::vector<uint16_t> First(45, 0);
  First[0] = 1;        // Macro Mode: Macro
  First[1] = 20;       // Self Timer: 2000 ms
  First[2] = 4;        // Quality: not listed
  First[6] = 3;        // Focus Mode: MF
  First[15] = 0;       // ISO 0: not listed
  First[22] = 681;     // long focal length
  First[23] = 227;     // Lens Attached
  First[24] = 32;      // focal units per mm
  First[27] = 1;       // Flash Activity: Fired
  First[29] = 0x3000;  // past the last known item
  const std::vector<uint16_t> Second = {0, 0, 0, 0, 0, 0, 2, 0, 7, 0, 0, 0, 0, 0, 0xFFF4};
  const std::vector<TNoteEntry> Entries = {
      {0x0001, ftShort, 46, CanonArray(First)},
      {0x0004, ftShort, 16, CanonArray(Second)},
      {0x0001, ftShort, 3, {0, 0, 1, 0, 2, 0}},  // an array whose length word is 0: nothing
      {0x0008, ftLong, 1, U32(42)},
  };
  const TEXIF Doc = LoadTiff(
      TiffWithMakerNote("Canon", [&](uint32_t Base) { return NoteBytes({}, Entries, TByteOrder::Little, Base); },
                   TByteOrder::Little));
  EXPECT_EQ(MakerRows(Doc), (std::vector<TRow>{{0x0001, "Macro Mode", "Macro"},
                                               {0x0002, "Self Timer", "2000 ms"},
                                               {0x0004, "Flash Mode", "Flash not fired"},
                                               {0x0005, "Drive Mode", "Timer"},
                                               {0x0007, "Focus Mode", "MF"},
                                               {0x000A, "Image Size", "Large"},
                                               {0x000B, "Program", "Full Auto"},
                                               {0x000C, "Digital Zoom", "None"},
                                               {0x000D, "Contrast", "Normal"},
                                               {0x000E, "Saturation", "Normal"},
                                               {0x000F, "Sharpness", "Normal"},
                                               {0x0012, "Focus Type", "Manual"},
                                               {0x0014, "Exposure Mode", "Easy Shooting"},
                                               {0x0018, "Lens Attached", "(7 - 21) mm"},
                                               {0x0019, "Focal Units per mm", "32"},
                                               {0x001C, "Flash Activity", "Fired"},
                                               {0x0007, "White Balance", "Cloudy"},
                                               {0x0009, "Sequence Number", "7"},
                                               {0x000F, "Flash Bias", "-0.33 EV"},
                                               {0x0008, "Image Number", "42"}}));
  // One record serves the whole array: the Flash Mode record, filled after the
  // Self Timer, still carries the Self Timer's number; settings have Dim 0.
  EXPECT_EQ(Doc.MakerNoteTag(2).NumericValue[0], 2000);
  EXPECT_EQ(Doc.MakerNoteTag(0).Header.Dim, 0);
}

// A settings array cut by the end of the data ends there; nothing partial.
TEST(MakerNote, CanonSettingsCutByTheEnd) {
  const std::vector<TNoteEntry> Entries = {{0x0001, ftShort, 46, CanonArray({1, 0, 3})}};
  TBytes Tiff =
      TiffWithMakerNote("Canon", [&](uint32_t Base) { return NoteBytes({}, Entries, TByteOrder::Little, Base); },
                   TByteOrder::Little);
  Tiff[Tiff.size() - 8] = 92;    // the array claims 46 items
  Tiff.resize(Tiff.size() - 1);  // and its last item lacks a byte
  TEXIF Doc;
  LoadBytes(Doc, Tiff);  // a TIFF file: its data ends with the array
  EXPECT_EQ(MakerRows(Doc), (std::vector<TRow>{{0x0001, "Macro Mode", "Macro"}, {0x0002, "Self Timer", "0 ms"}}));
}

// The walk reads at most the note's own count of entries.
TEST(MakerNote, WalkIsBoundedByTheCount) {
  std::vector<TNoteEntry> Entries;
  for (uint16_t Index = 0; Index < 6; ++Index) Entries.push_back({0x0014, ftShort, 1, U16(64)});
  for (uint16_t Count : {uint16_t{0}, uint16_t{2}, uint16_t{6}, uint16_t{60000}}) {
    const TEXIF Doc = LoadTiff(TiffWithMakerNote(
        "CASIO", [&](uint32_t Base) { return NoteBytes({}, Entries, TByteOrder::Little, Base, Count); },
        TByteOrder::Little));
    EXPECT_EQ(Doc.MakerNoteCount(), std::min<int>(Count, 6)) << Count;
  }
}

// The notes of Apple, Sony, Samsung and Pentax: every header variant and
// offset base, in files of either byte order; notes with a byte order mark of
// their own in either order, the file's coming back after them.
TEST(MakerNote, NewMakersLayouts) {
  struct TCase {
    const char* What;
    std::string Make, Model;
    std::string Signature;                 // before the byte order mark, if any
    std::vector<TByteOrder> MarkedOrders;  // the notes' own orders; empty: no mark, the file's order
    bool NoteBase;                         // offsets from the note's first byte, else the TIFF header
    TMakerNoteFormat Format;
    std::function<std::vector<TNoteEntry>(TByteOrder)> Entries;
    std::vector<TRow> Rows;
  };
  const auto Apple = [](TByteOrder O) {
    return std::vector<TNoteEntry>{
        {0x0001, ftSLong, 1, U32(12, O)},
        {0x000A, ftSLong, 1, U32(3, O)},
        {0x0008, ftSRational, 3, Concat({U32(uint32_t(-1), O), U32(2, O), U32(1, O), U32(4, O), U32(uint32_t(-3), O), U32(4, O)})},
        {0x0011, ftAscii, 9, BytesOf(std::string("570F1469\0", 9))},
        {0x0023, ftSLong, 2, Concat({U32(8, O), U32(268435538, O)})},
        {0x0099, ftSLong, 1, U32(1, O)},
    };
  };
  const std::vector<TRow> AppleRows = {{0x0001, "Maker Note Version", "12"},
                                       {0x000A, "HDR Image Type", "HDR Image"},
                                       {0x0008, "Acceleration Vector", "-0.5 (-1/2 1/4 -3/4)"},
                                       {0x0011, "Content Identifier", "570F1469"},
                                       {0x0023, "AF Performance", "8 268435538"}};
  const auto Sony = [](TByteOrder O) {
    return std::vector<TNoteEntry>{
        {0x0102, ftLong, 1, U32(4294967295u, O)},
        {0xB023, ftLong, 1, U32(33, O)},
        {0x200A, ftLong, 1, U32(0x00010012, O)},
        {0xB02B, ftLong, 2, Concat({U32(6000, O), U32(4000, O)})},
        {0x201D, ftShort, 2, Concat({U16(320, O), U16(213, O)})},
        {0x2031, ftAscii, 9, BytesOf(std::string("01234567\0", 9))},
    };
  };
  const std::vector<TRow> SonyRows = {{0x0102, "Quality", "n/a"},
                                      {0xB023, "Scene Mode", "HDR"},
                                      {0x200A, "HDR", "2.0 EV; HDR image (good)"},
                                      {0xB02B, "Full Image Size", "6000 4000"},
                                      {0x201D, "Flexible Spot Position", "320 213"},
                                      {0x2031, "Serial Number", "01234567"}};
  const auto Samsung = [](TByteOrder O) {
    return std::vector<TNoteEntry>{
        {0x0002, ftLong, 1, U32(0x12000, O)},
        {0xA002, ftAscii, 12, BytesOf(std::string("R1234567890\0", 12))},
        {0xA013, ftSRational, 1, Concat({U32(uint32_t(-2), O), U32(3, O)})},
        {0xA011, ftShort, 1, U16(1, O)},
    };
  };
  const std::vector<TRow> SamsungRows = {{0x0002, "Device Type", "Cell Phone"},
                                         {0xA002, "Serial Number", "R1234567890"},
                                         {0xA013, "Exposure Compensation", "-0.666666666666667 (-2/3)"},
                                         {0xA011, "Color Space", "Adobe RGB"}};
  const auto Pentax = [](TByteOrder O) {
    return std::vector<TNoteEntry>{
        {0x0000, ftByte, 4, {4, 0, 0, 0}},
        {0x0002, ftShort, 2, Concat({U16(640, O), U16(480, O)})},
        {0x0008, ftShort, 1, U16(2, O)},
        {0x0014, ftShort, 1, U16(6, O)},
        {0x003F, ftByte, 2, {3, 44}},
        {0x0229, ftAscii, 8, BytesOf(std::string("1234567\0", 8))},
    };
  };
  const std::vector<TRow> PentaxRows = {{0x0000, "Pentax Version", "4 0 0 0"},
                                        {0x0002, "Preview Image Size", "640 480"},
                                        {0x0008, "Quality", "Best"},
                                        {0x0014, "ISO", "100"},
                                        {0x003F, "Lens Type", "3 44"},
                                        {0x0229, "Serial Number", "1234567"}};
  const std::vector<TByteOrder> Both(std::begin(BothOrders), std::end(BothOrders));
  const std::string AppleSignature("Apple iOS\0\0\x01", 12);
  const TCase Cases[] = {
      {"Apple", "Apple", "", AppleSignature, {TByteOrder::Big}, true, mnfApple, Apple, AppleRows},
      {"Sony DSC", "SONY", "", std::string("SONY DSC \0\0\0", 12), {}, false, mnfSony, Sony, SonyRows},
      {"Sony CAM", "SONY", "", std::string("SONY CAM \0\0\0", 12), {}, false, mnfSony, Sony, SonyRows},
      {"Sony mobile", "Sony", "", std::string("SONY MOBILE\0", 12), {}, false, mnfSony, Sony, SonyRows},
      {"Sony without header", "SONY", "", "", {}, false, mnfSony, Sony, SonyRows},
      {"Samsung", "samsung", "SM-G930F", "", {}, false, mnfSamsung, Samsung, SamsungRows},
      {"Samsung Galaxy NX", "SAMSUNG", "EK-GN120", "", {}, true, mnfSamsung, Samsung, SamsungRows},
      {"Pentax AOC", "PENTAX Corporation", "", std::string("AOC\0", 4), Both, false, mnfPentax, Pentax, PentaxRows},
      {"Pentax PENTAX", "PENTAX", "", std::string("PENTAX \0", 8), Both, true, mnfPentax, Pentax, PentaxRows},
      {"Asahi without header", "Asahi Optical Co.,Ltd", "", "", {}, false, mnfPentax, Pentax, PentaxRows},
      {"Ricoh with AOC", "RICOH IMAGING COMPANY, LTD.", "", std::string("AOC\0", 4), Both, false, mnfPentax,
       Pentax, PentaxRows},
      {"Samsung with AOC", "SAMSUNG TECHWIN", "", std::string("AOC\0", 4), Both, false, mnfPentax, Pentax,
       PentaxRows},
  };
  for (const TCase& Case : Cases) {
    for (TByteOrder FileOrder : BothOrders) {
      for (TByteOrder NoteOrder : Case.MarkedOrders.empty() ? std::vector<TByteOrder>{FileOrder} : Case.MarkedOrders) {
        SCOPED_TRACE(std::string(Case.What) + ", file " + OrderName(FileOrder) + ", note " + OrderName(NoteOrder));
        TBytes Header = BytesOf(Case.Signature);
        if (!Case.MarkedOrders.empty()) Header = Concat({Header, BytesOf(OrderName(NoteOrder))});
        const TEXIF Doc = LoadTiff(TiffWithMakerNote(
            Case.Make,
            [&](uint32_t At) { return NoteBytes(Header, Case.Entries(NoteOrder), NoteOrder, Case.NoteBase ? 0 : At); },
            FileOrder, Case.Model));
        EXPECT_EQ(Doc.MakerNoteFormat(), Case.Format);
        EXPECT_EQ(MakerRows(Doc), Case.Rows);
        EXPECT_EQ(TEXIFInternals::Swapped(Doc), FileOrder == TByteOrder::Big);
      }
    }
  }
}

// A Ricoh note that is not a Pentax note (Ricoh's own cameras) is not read.
TEST(MakerNote, RicohWithoutPentaxSignature) {
  const std::vector<TNoteEntry> Entries = {{0x0008, ftShort, 1, U16(2)}};
  const TEXIF Doc = LoadTiff(TiffWithMakerNote(
      "RICOH", [&](uint32_t Base) { return NoteBytes(BytesOf(std::string("Ricoh\0\0\0", 8)), Entries, TByteOrder::Little, Base); }));
  EXPECT_EQ(Doc.MakerNoteFormat(), mnfUnknown);
  EXPECT_EQ(Doc.MakerNoteCount(), 0);
}

// An unknown maker's note is not read at all.
TEST(MakerNote, UnknownMakerReadsNothing) {
  const std::vector<TNoteEntry> Entries = {{0x0014, ftShort, 1, U16(64)}};
  const TEXIF Doc = LoadTiff(TiffWithMakerNote(
      "KONICA MINOLTA", [&](uint32_t Base) { return NoteBytes({}, Entries, TByteOrder::Little, Base); },
      TByteOrder::Little));
  EXPECT_EQ(Doc.MakerNoteFormat(), mnfUnknown);
  EXPECT_EQ(Doc.MakerNoteCount(), 0);
}

}  // namespace
