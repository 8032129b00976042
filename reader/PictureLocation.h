// Where a file keeps the picture the Image tab shows, as its container says:
// the format its bytes are coded in, the bytes, and what the container knows
// of its size and turn without decoding anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "PictureSize.h"

enum class TPictureFormat : uint8_t { JPEG, PNG, WebP, HEIF };

// The name of a format in error messages ("PNG error: ...").
std::string_view PictureFormatName(TPictureFormat Format);

// Bytes of the file, or bytes a container had to decode or join first.
struct TByteRange {
  int64_t Position = 0;
  int64_t Length = 0;
};

struct TPictureLocation {
  // Any file the reader knows no other way of showing is handed to the JPEG
  // decoder whole, which names what it finds there ("JPEG error #N").
  TPictureFormat Format = TPictureFormat::JPEG;
  int64_t Position = 0;
  int64_t Length = -1;  // to the end of the file
  // The stored size, when the container says it ("ispe").
  std::optional<TPictureSize> StoredSize;
  // An ISO base media file's own turn ('irot'), as the Orientation code that
  // turns alike; when absent, IFD 0's Orientation tag turns the picture.
  std::optional<int64_t> ContainerOrientation;
  // A camera's raw file shows one of the JPEG previews the camera stored in
  // it instead (Position and Length are then not used): the one with most
  // pixels, chosen from their frame headers only when the picture is wanted
  // (see TPictureSource). A raw file without one has no picture to show.
  bool FromPreviews = false;
  std::vector<TByteRange> Previews;
};
