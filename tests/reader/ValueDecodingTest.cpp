// Value decoding of every field type, in both byte orders.
#include <gtest/gtest.h>

#include <cmath>

#include "EXIF_Intf.h"
#include "ByteOrder.h"
#include "ExifWriter.h"

namespace {

// Loads a TIFF file whose IFD 0 is Ifd0 and returns its first IFD 0 record.
TEXIFTag FirstIfd0Record(const TIfd& Ifd0, TByteOrder Order) {
  TEXIF Doc;
  LoadBytes(Doc, TiffBlock(Ifd0, Order));
  return Doc.TIFFTag(0);
}

TEXIFTag FirstGpsRecord(const std::shared_ptr<TIfd>& Gps, TByteOrder Order) {
  TIfd Ifd0;
  Ifd0.SubIfd(0x8825, Gps);
  TEXIF Doc;
  LoadBytes(Doc, TiffBlock(Ifd0, Order));
  return Doc.GPSTag(0);
}

struct TCase {
  const char* What;
  TIfd Ifd0;
  uint16_t Typ;
  double Number;
  std::string Text;
};

TIfd One(const std::function<void(TIfd&)>& Add) {
  TIfd Ifd;
  Add(Ifd);
  return Ifd;
}

// Loads each case in both byte orders and checks its first IFD 0 record.
void ExpectDecoded(std::initializer_list<TCase> Cases) {
  for (const TCase& Case : Cases) {
    for (TByteOrder Order : BothOrders) {
      SCOPED_TRACE(std::string(Case.What) + (Order == TByteOrder::Big ? " MM" : " II"));
      const TEXIFTag Rec = FirstIfd0Record(Case.Ifd0, Order);
      EXPECT_EQ(Rec.Typ, Case.Typ);
      EXPECT_DOUBLE_EQ(Rec.NumericValue[0], Case.Number);
      EXPECT_EQ(Rec.NumericValue[1], 0);
      EXPECT_EQ(Rec.StringValue, Case.Text);
    }
  }
}

// Numbers: the first value of any count; larger arrays are read at their offset.
TEST(ValueDecoding, NumberTypes) {
  ExpectDecoded({
      {"byte", One([](TIfd& I) { I.Byte(0x0102, {200}); }), ftByte, 200, ""},
      {"byte array at offset", One([](TIfd& I) { I.Byte(0x0102, {7, 1, 2, 3, 4, 5}); }), ftByte, 7, ""},
      {"sbyte", One([](TIfd& I) { I.Byte(0x0102, {0xFE}, ftSByte); }), ftSByte, -2, ""},
      {"short", One([](TIfd& I) { I.Short(0x0102, {65535}); }), ftShort, 65535, ""},
      {"short pair", One([](TIfd& I) { I.Short(0x0102, {2, 1}); }), ftShort, 2, ""},
      {"bits per sample 8 8 8", One([](TIfd& I) { I.Short(0x0102, {8, 8, 8}); }), ftShort, 8, ""},
      {"sshort", One([](TIfd& I) { I.Short(0x0102, {0xFFFF}, ftSShort); }), ftSShort, -1, ""},
      {"sshort array", One([](TIfd& I) { I.Short(0x0102, {0x8000, 1, 2}, ftSShort); }), ftSShort,
       -32768, ""},
      {"long", One([](TIfd& I) { I.Long(0x0102, {4294967295u}); }), ftLong, 4294967295.0, ""},
      {"long pair", One([](TIfd& I) { I.Long(0x0102, {70000, 3}); }), ftLong, 70000, ""},
      {"slong", One([](TIfd& I) { I.Long(0x0102, {0xFFFFFFFE}, ftSLong); }), ftSLong, -2, ""},
      {"float", One([](TIfd& I) { I.Float(0x0102, 1.5f); }), ftFloat, 1.5, ""},
      {"double", One([](TIfd& I) { I.Double(0x0102, {-2.25}); }), ftDouble, -2.25, ""},
      {"unknown type 13", One([](TIfd& I) { I.Raw(0x0102, 13, 1, 5); }), 13, 0, ""},
      {"unknown type 0", One([](TIfd& I) { I.Raw(0x0102, 0, 1, 5); }), 0, 0, ""},
  });
}

TEST(ValueDecoding, RationalTypes) {
  using TPairs = std::vector<std::pair<uint32_t, uint32_t>>;
  const auto Minus = [](int32_t Value) { return static_cast<uint32_t>(Value); };
  ExpectDecoded({
      {"1/125", One([](TIfd& I) { I.Rational(0x011A, {{1, 125}}); }), ftRational, 0.008, "1/125"},
      {"5/0", One([](TIfd& I) { I.Rational(0x011A, {{5, 0}}); }), ftRational, 0, "5/0"},
      {"large unsigned", One([](TIfd& I) { I.Rational(0x011A, {{4294967295u, 1}}); }), ftRational,
       4294967295.0, "4294967295/1"},
      {"only Dim pairs", One([](TIfd& I) { I.Rational(0x011A, {{72, 1}, {3, 1}}); }), ftRational, 72,
       "72/1"},
      {"-2/3", One([&](TIfd& I) { I.Rational(0x011A, TPairs{{Minus(-2), 3}}, ftSRational); }),
       ftSRational, -2.0 / 3, "-2/3"},
      {"1/-3", One([&](TIfd& I) { I.Rational(0x011A, TPairs{{1, Minus(-3)}}, ftSRational); }),
       ftSRational, -1.0 / 3, "-1/3"},
      {"-1/-3", One([&](TIfd& I) { I.Rational(0x011A, TPairs{{Minus(-1), Minus(-3)}}, ftSRational); }),
       ftSRational, 1.0 / 3, "-1/-3"},
      {"0/1", One([](TIfd& I) { I.Rational(0x011A, {{0, 1}}, ftSRational); }), ftSRational, 0, "0/1"},
      {"-5/0", One([&](TIfd& I) { I.Rational(0x011A, TPairs{{Minus(-5), 0}}, ftSRational); }),
       ftSRational, 0, "-5/0"},
      {"min/-1", One([&](TIfd& I) { I.Rational(0x011A, TPairs{{0x80000000u, 1}}, ftSRational); }),
       ftSRational, -2147483648.0, "-2147483648/1"},
  });
}

TEST(ValueDecoding, Texts) {
  const std::string Long(300, 'x');
  ExpectDecoded({
      {"count 4 from the field", One([](TIfd& I) { I.Ascii(0x010E, "R98"); }), ftAscii, 0, "R98"},
      {"count 5 from the offset", One([](TIfd& I) { I.Ascii(0x010E, "Canon"); }), ftAscii, 0, "Canon"},
      {"count 300 keeps 256", One([&](TIfd& I) { I.Ascii(0x010E, Long); }), ftAscii, 0,
       Long.substr(0, 256)},
      {"trimmed", One([](TIfd& I) { I.Ascii(0x010E, " \t Canon \r\n "); }), ftAscii, 0, "Canon"},
      {"up to the first zero", One([](TIfd& I) { I.Undefined(0x010E, BytesOf(std::string("ab\0cd", 5))); }),
       ftUndefined, 0, "ab"},
      {"undefined starting with zero", One([](TIfd& I) { I.Undefined(0x010E, {0, 'a', 'b', 'c', 'd'}); }),
       ftUndefined, 0, ""},
      {"count shorter than the text", One([](TIfd& I) { I.Ascii(0x010E, "ABC").Entries.back().Count = 2; }),
       ftAscii, 0, "AB"},
      {"windows-1252", One([](TIfd& I) { I.Undefined(0x010E, {'C', 'a', 'f', 0xE9, 's'}); }),
       ftUndefined, 0, "Caf\u00E9s"},
      {"utf-8", One([](TIfd& I) { I.Ascii(0x010E, "Caf\u00E9s"); }), ftAscii, 0, "Caf\u00E9s"},
      {"empty", One([](TIfd& I) { I.Ascii(0x010E, ""); }), ftAscii, 0, ""},
  });
}

TEST(ValueDecoding, ComponentsConfiguration) {
  struct TBitsCase {
    TBytes Bytes;
    double Bits;
  };
  const TBitsCase Cases[] = {
      {{1, 2, 3, 0}, 14},
      {{4, 5, 6, 0}, 112},
      {{0, 3, 2, 1}, 14},
      {{7, 0, 255, 0}, 0},
  };
  for (const TBitsCase& Case : Cases) {
    auto Exif = std::make_shared<TIfd>();
    Exif->Undefined(0x9101, Case.Bytes);
    TIfd Ifd0;
    Ifd0.SubIfd(0x8769, Exif);
    TEXIF Doc;
    LoadBytes(Doc, TiffBlock(Ifd0, TByteOrder::Big));
    EXPECT_EQ(Doc.EXIFTag(0).NumericValue[0], Case.Bits);
    EXPECT_EQ(Doc.EXIFTag(0).StringValue, "");
  }
}

TEST(ValueDecoding, GpsValuesUseDim) {
  for (TByteOrder Order : BothOrders) {
    auto Version = std::make_shared<TIfd>();
    Version->Byte(0x0000, {2, 2, 0, 0});
    EXPECT_EQ(FirstGpsRecord(Version, Order).NumericValue[0], 514);

    auto Latitude = std::make_shared<TIfd>();
    Latitude->Rational(0x0002, {{35, 1}, {40, 1}, {1234, 100}});
    const TEXIFTag Rec = FirstGpsRecord(Latitude, Order);
    EXPECT_EQ(Rec.NumericValue[0], 35);
    EXPECT_EQ(Rec.NumericValue[1], 40);
    EXPECT_DOUBLE_EQ(Rec.NumericValue[2], 12.34);
    EXPECT_EQ(Rec.NumericValue[3], 0);
    EXPECT_EQ(Rec.StringValue, "35/1 40/1 1234/100");

    auto Doubles = std::make_shared<TIfd>();
    Doubles->Double(0x0004, {1.5, -2, 3.25, 9});
    const TEXIFTag Longitude = FirstGpsRecord(Doubles, Order);
    EXPECT_EQ(Longitude.NumericValue[0], 1.5);
    EXPECT_EQ(Longitude.NumericValue[1], -2);
    EXPECT_EQ(Longitude.NumericValue[2], 3.25);
    EXPECT_EQ(Longitude.NumericValue[3], 0);
  }
}

// Values cut by the end of the data read as zeros, never as earlier bytes.
TEST(ValueDecoding, ValuesPastTheEnd) {
  TIfd Ifd0;
  Ifd0.Raw(0x011A, ftRational, 1, 0x7FFFFFF0).Raw(0x010E, ftAscii, 40, 0x7FFFFFF0)
      .Raw(0x0102, ftShort, 3, 0xFFFFFFFF);
  TEXIF Doc;
  LoadBytes(Doc, TiffBlock(Ifd0));
  ASSERT_EQ(Doc.TIFFCount(), 3);
  EXPECT_EQ(Doc.TIFFTag(0).NumericValue[0], 0);
  EXPECT_EQ(Doc.TIFFTag(0).StringValue, "0/0");
  EXPECT_EQ(Doc.TIFFTag(1).StringValue, "");
  EXPECT_EQ(Doc.TIFFTag(2).NumericValue[0], 0);
}

TEST(ValueDecoding, SwapHelpers) {
  EXPECT_EQ(SwapLong(0x11223344), 0x44332211u);
  // 1.0 is 3F F0 00 00 00 00 00 00 big-endian: the halves as read little-endian.
  EXPECT_EQ(SwapDouble(0x0000F03F, 0), 1.0);
}

}  // namespace
