#include <gtest/gtest.h>

#include "DecimalComma.h"
#include "ExifWriter.h"
#include "GpsPosition.h"

namespace {

using TRationals = std::vector<std::pair<uint32_t, uint32_t>>;
const TRationals Durham{{54, 1}, {5938, 100}, {0, 1}}, West{{1, 1}, {5485, 100}, {0, 1}};

// The position of a file whose GPS directory holds these references (none
// when empty) and coordinates (none when empty), as CoordinatesText writes
// it; "" when it has none.
std::string Coordinates(std::string_view LatitudeRef, TRationals Latitude, std::string_view LongitudeRef,
                        TRationals Longitude, uint16_t Type = ftRational) {
  auto Gps = std::make_shared<TIfd>();
  if (!LatitudeRef.empty()) Gps->Ascii(0x0001, LatitudeRef);
  if (!Latitude.empty()) Gps->Rational(0x0002, Latitude, Type);
  if (!LongitudeRef.empty()) Gps->Ascii(0x0003, LongitudeRef);
  if (!Longitude.empty()) Gps->Rational(0x0004, Longitude, Type);
  TIfd Ifd0;
  Ifd0.SubIfd(0x8825, Gps);
  TEXIF Doc;
  LoadBytes(Doc, JpegWith({ExifSegment(TiffBlock(Ifd0))}));
  const auto Position = GpsPosition(Doc);
  return Position ? CoordinatesText(*Position) : "";
}

}  // namespace

TEST(GpsPosition, DecimalDegrees) {
  const TDecimalCommaLocale Comma;  // the point stays a point
  const struct {
    const char* Case;
    std::string Shown, Expected;
  } Rows[] = {
      {"north-west, decimal minutes", Coordinates("N", Durham, "W", West), "54.989667, -1.914167"},
      {"south-east, seconds", Coordinates("S", {{33, 1}, {52, 1}, {4, 1}}, "E", {{151, 1}, {12, 1}, {36, 1}}),
       "-33.867778, 151.210000"},
      {"the edges of the range", Coordinates("S", {{90, 1}, {0, 1}, {0, 1}}, "E", {{180, 1}, {0, 1}, {0, 1}}),
       "-90.000000, 180.000000"},
      {"zero south carries no sign", Coordinates("S", {{0, 1}, {0, 1}, {0, 1}}, "W", {{0, 1}, {0, 1}, {0, 1}}),
       "0.000000, 0.000000"},
      {"signed rationals", Coordinates("N", Durham, "W", West, ftSRational), "54.989667, -1.914167"},
      {"no latitude", Coordinates("N", {}, "W", West), ""},
      {"zero denominator", Coordinates("N", {{54, 1}, {59, 1}, {0, 0}}, "W", West), ""},
      {"latitude above 90", Coordinates("N", {{90, 1}, {0, 1}, {1, 1}}, "W", West), ""},
      {"longitude above 180", Coordinates("N", Durham, "E", {{180, 1}, {1, 1}, {0, 1}}), ""},
      {"a negative part", Coordinates("N", {{54, 1}, {0xFFFFFFFF, 1}, {0, 1}}, "W", West, ftSRational), ""},
      {"no longitude reference", Coordinates("N", Durham, "", West), ""},
      {"lower-case reference", Coordinates("n", Durham, "W", West), ""},
  };
  for (const auto& Row : Rows) EXPECT_EQ(Row.Shown, Row.Expected) << Row.Case;
}
