// A JPEG picture held as its compressed bytes: loading reads the header
// (width and height) through libjpeg; decoding to pixels happens on demand.
// libjpeg failures never end the process: they become EJPEGError, whose
// message is "JPEG error #<libjpeg's message code>".
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "ByteBuffer.h"

class EJPEGError : public std::runtime_error {
 public:
  explicit EJPEGError(int Code);
  int Code() const { return FCode; }

 private:
  int FCode;
};

// A picture whose pixel count is above the decoding limit.
class EJPEGTooLarge : public std::runtime_error {
 public:
  EJPEGTooLarge(int Width, int Height);
};

// How decoded pixels are laid out in the caller's buffer.
enum class TPixelLayout {
  RGB24,   // R, G, B
  BGRX32,  // B, G, R, 0xFF: a 32-bit 0xFFRRGGBB word on little-endian machines
};

class TJPEGImage {
 public:
  // The largest picture decoded: 134 megapixels, so a 100-megapixel photo
  // still opens while a header claiming, say, 60000 x 60000 is refused
  // before anything is allocated.
  static constexpr uint64_t MaxPixels = uint64_t{1} << 27;

  // Takes the bytes and reads the header. Throws EJPEGError when libjpeg
  // cannot read it; the image is then empty.
  void LoadFromBytes(TByteBuffer Bytes);
  // The same without an exception: false when libjpeg cannot read the header.
  bool TryLoadFromBytes(TByteBuffer Bytes);
  // Reads the whole file first; a file that cannot be read throws
  // std::runtime_error with the system's reason.
  void LoadFromFile(const std::string& FileName);

  bool Empty() const { return FBytes.empty(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  const TByteBuffer& Bytes() const { return FBytes; }

  static size_t BytesPerPixel(TPixelLayout Layout) { return Layout == TPixelLayout::RGB24 ? 3 : 4; }

  // Decodes the whole picture into Pixels, Stride bytes per row, top row first.
  // Pixels must hold Height() rows. Throws EJPEGTooLarge above MaxPixels and
  // EJPEGError when libjpeg fails; corrupt data that libjpeg can work past
  // only counts as a warning (see Warnings()).
  void DecodeTo(TPixelLayout Layout, std::span<uint8_t> Pixels, size_t Stride) const;

  // Checks the size against MaxPixels, as DecodeTo does, without decoding.
  void CheckDecodable() const;

  // Warnings libjpeg gave during the last decode (corrupt data it skipped).
  int Warnings() const { return FWarnings; }

 private:
  TByteBuffer FBytes;
  int FWidth = 0;
  int FHeight = 0;
  int FErrorCode = 0;  // libjpeg's code for the last header that failed
  mutable int FWarnings = 0;
};
