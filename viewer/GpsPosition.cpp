#include "GpsPosition.h"

#include <array>
#include <charconv>

namespace {

// The GPS tags of a position, as the EXIF standard numbers them.
constexpr uint16_t LatitudeRefTag = 0x0001, LatitudeTag = 0x0002;
constexpr uint16_t LongitudeRefTag = 0x0003, LongitudeTag = 0x0004;

const TEXIFTag* FindRecord(std::span<const TEXIFTag> Records, uint16_t Tag) {
  for (const TEXIFTag& Rec : Records)
    if (Rec.Header.Tag == Tag) return &Rec;
  return nullptr;
}

// Whether the decoder's text of a rational value, "n/d n/d n/d", holds
// Count pairs none of whose denominators is 0 (the decoder gives such a
// pair the number 0, which would pass for a real one).
bool HasPairsWithoutZeroDenominator(std::string_view Text, size_t Count) {
  size_t Pairs = 0;
  while (!Text.empty()) {
    const size_t Blank = Text.find(' ');
    const std::string_view Pair = Text.substr(0, Blank);
    const size_t Slash = Pair.find('/');
    if (Slash == std::string_view::npos) return false;
    const std::string_view Denominator = Pair.substr(Slash + 1);
    if (Denominator.find_first_not_of('0') == std::string_view::npos) return false;
    ++Pairs;
    if (Blank == std::string_view::npos) break;
    Text.remove_prefix(Blank + 1);
  }
  return Pairs >= Count;
}

// Degrees + minutes / 60 + seconds / 3600 of a coordinate record, signed by
// its reference: Positive for the reference that counts positive, Negative
// for the other.
std::optional<double> Coordinate(const TEXIFTag* Value, const TEXIFTag* Reference, double Limit,
                                 std::string_view Positive, std::string_view Negative) {
  if (Value == nullptr || Reference == nullptr) return std::nullopt;
  if (Value->Typ != ftRational && Value->Typ != ftSRational) return std::nullopt;
  if (!HasPairsWithoutZeroDenominator(Value->StringValue, 3)) return std::nullopt;
  const double Degrees = Value->NumericValue[0], Minutes = Value->NumericValue[1],
               Seconds = Value->NumericValue[2];
  if (Degrees < 0 || Minutes < 0 || Seconds < 0) return std::nullopt;
  const double Decimal = Degrees + Minutes / 60 + Seconds / 3600;
  if (!(Decimal <= Limit)) return std::nullopt;
  if (Reference->StringValue == Positive) return Decimal;
  if (Reference->StringValue == Negative) return -Decimal;
  return std::nullopt;
}

// Six decimals and a point; a value that rounds to zero carries no sign.
std::string Decimals(double Value) {
  std::array<char, 32> Text{};
  char* End =
      std::to_chars(Text.data(), Text.data() + Text.size(), Value, std::chars_format::fixed, 6).ptr;
  std::string Result(Text.data(), End);
  if (Result == "-0.000000") Result.erase(0, 1);
  return Result;
}

}  // namespace

std::optional<TGpsPosition> GpsPosition(std::span<const TEXIFTag> GPSRecords) {
  const std::optional<double> Latitude = Coordinate(FindRecord(GPSRecords, LatitudeTag),
                                                    FindRecord(GPSRecords, LatitudeRefTag), 90, "N", "S");
  const std::optional<double> Longitude = Coordinate(FindRecord(GPSRecords, LongitudeTag),
                                                     FindRecord(GPSRecords, LongitudeRefTag), 180, "E", "W");
  if (!Latitude || !Longitude) return std::nullopt;
  return TGpsPosition{*Latitude, *Longitude};
}

std::string CoordinatesText(const TGpsPosition& Position) {
  return Decimals(Position.Latitude) + ", " + Decimals(Position.Longitude);
}

std::string OpenStreetMapAddress(const TGpsPosition& Position) {
  const std::string Latitude = Decimals(Position.Latitude), Longitude = Decimals(Position.Longitude);
  return "https://www.openstreetmap.org/?mlat=" + Latitude + "&mlon=" + Longitude + "#map=15/" + Latitude +
         "/" + Longitude;
}
