// One picture of a file whose header has been read, ready to be decoded at
// the size it is shown at. There is a decoder per picture format (JPEG, PNG,
// WebP, HEIF); each reads its bytes through a TByteSource and fails with
// EPictureError, never by ending the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "PictureSize.h"

// A picture that cannot be decoded. Its message is "<FORMAT> error: <reason>"
// ("PNG error: IDAT: CRC error"); JPEG keeps its own form, "JPEG error #N"
// (EJPEGError, which derives from this class).
class EPictureError : public std::runtime_error {
 public:
  EPictureError(std::string_view Format, std::string_view Reason);

 protected:
  explicit EPictureError(const std::string& Message) : std::runtime_error(Message) {}
};

// The largest picture the PNG, WebP and HEIF decoders take, in pixels
// (256 megapixels); JPEG keeps its own, lower limit (TJPEGImage::MaxPixels).
inline constexpr uint64_t MaxPicturePixels = uint64_t{1} << 28;

class TPictureDecoder {
 public:
  virtual ~TPictureDecoder() = default;

  // The picture's stored size, as its header gives it (before any turn).
  virtual TPictureSize Size() const = 0;

  // The size DecodeTo makes when it is asked for a picture at least AtLeast
  // in both directions: never larger than Size(), and the whole picture at
  // that size. JPEG decodes at whole eighths of its size; the others at any
  // size, keeping the picture's proportions.
  virtual TPictureSize DecodedSize(TPictureSize AtLeast) const = 0;

  // Decodes the whole picture at DecodedSize(AtLeast) into Pixels: 32-bit
  // pixels 0xFFRRGGBB in the machine's byte order (B, G, R, 0xFF in memory
  // on little-endian machines), Stride bytes a row, top row first. Pixels
  // must hold Stride * DecodedSize(AtLeast).Height bytes. Transparent pixels
  // are laid over Background (0xRRGGBB). Throws EPictureError.
  virtual void DecodeTo(std::span<uint8_t> Pixels, size_t Stride, TPictureSize AtLeast,
                        uint32_t Background = 0xFFFFFF) = 0;
};
