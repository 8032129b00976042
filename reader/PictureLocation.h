// Where a file keeps the picture the Image tab shows, as its container says:
// the format its bytes are coded in, the bytes, and what the container knows
// of its size and turn without decoding anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "PictureSize.h"

enum class TPictureFormat : uint8_t { JPEG, PNG, WebP, HEIF };

// The name of a format in error messages ("PNG error: ...").
std::string_view PictureFormatName(TPictureFormat Format);

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
};
