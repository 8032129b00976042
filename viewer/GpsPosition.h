// The position of a photo in decimal degrees, read from its GPS records, as
// maps take it. Plain C++, so that it is tested without the window.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "EXIF_Intf.h"

// Decimal degrees: north and east positive, south and west negative.
struct TGpsPosition {
  double Latitude = 0;
  double Longitude = 0;
};

// The position the GPS records give (tags 0x0001 to 0x0004, the first record
// of each): degrees + minutes / 60 + seconds / 3600, negative for a reference
// of "S" or "W". Nothing when the position is not usable: a record missing,
// a value that is not three rationals, a zero denominator, a negative part,
// a latitude above 90 or a longitude above 180 degrees, or a reference that
// is not N or S (E or W).
std::optional<TGpsPosition> GpsPosition(std::span<const TEXIFTag> GPSRecords);
inline std::optional<TGpsPosition> GpsPosition(const TEXIF& Document) {
  return GpsPosition(Document.GPSRecords());
}

// "54.989667, -1.914167": latitude and longitude with 6 decimals and a point,
// whatever the locale.
std::string CoordinatesText(const TGpsPosition& Position);

// The OpenStreetMap page centred on the position, with a marker:
// https://www.openstreetmap.org/?mlat=LAT&mlon=LON#map=15/LAT/LON
std::string OpenStreetMapAddress(const TGpsPosition& Position);
