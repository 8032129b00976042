// A JPEG picture held as its compressed bytes: loading reads the header
// (width and height) through libjpeg; decoding to pixels happens on demand.
// libjpeg failures never end the process: they become EJPEGError, whose
// message is "JPEG error #<libjpeg's message code>".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include "ByteBuffer.h"
#include "ByteSource.h"
#include "PictureDecoder.h"
#include "PictureSize.h"

class EJPEGError : public EPictureError {
 public:
  explicit EJPEGError(int Code);
  int Code() const { return FCode; }

 private:
  int FCode;
};

// A picture whose pixel count is above the decoding limit.
class EJPEGTooLarge : public EPictureError {
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

  // A decode costs what its data can justify. The data are the bytes from
  // the start of the first scan's compressed data on, plus DataAllowance.
  // Huffman coding spends at least one bit on each 8 x 8 block of every
  // scan that reaches it: a progressive picture of one flat grey with a
  // single DC scan, the densest legal file, holds 512 pixels per byte (a
  // baseline one 256), where real photos hold at most about 50 (some 130
  // when recoded progressive). So:
  // - a picture declaring more than MaxPixelsPerByte pixels per byte of its
  //   data is refused from its header, before anything is allocated;
  // - while decoding, the blocks visited so far, summed over the scans, may
  //   not exceed MaxBlockVisitsPerByte per byte of data read so far. This is
  //   checked before each row of blocks of every scan, so a file of cheap
  //   scans that each sweep all blocks (end-of-band runs cover 32767 blocks
  //   in 2 bytes) is stopped before it has touched more than a sliver of a
  //   progressive picture's whole-image coefficient buffer, which libjpeg
  //   allocates when the decode starts. Real photos visit at most 2 blocks
  //   per byte, 24 when progressive; the flat grey picture with all 15
  //   scans of a full progression 117.
  // Both refusals are the JPEG error ImplausibleDataError, a number above
  // every code of libjpeg's own. Arithmetic-coded pictures of one flat
  // colour can be denser than MaxPixelsPerByte and are refused too.
  static constexpr int ImplausibleDataError = 1000;
  // The memory libjpeg may take for one decode. A progressive picture keeps
  // every coefficient until its last scan (128 bytes per 8 x 8 block of each
  // component: 805 MB for 134 megapixels in colour, whatever the scale);
  // past this libjpeg stops with its own error.
  static constexpr long MaxDecodeMemory = 512L << 20;
  static constexpr uint64_t MaxPixelsPerByte = 2048;
  static constexpr uint64_t MaxBlockVisitsPerByte = 1024;
  static constexpr uint64_t DataAllowance = 64;

  // Takes the bytes and reads the header. Throws EJPEGError when libjpeg
  // cannot read it; the image is then empty.
  void LoadFromBytes(TByteBuffer Bytes);
  // The same without an exception: false when libjpeg cannot read the header.
  bool TryLoadFromBytes(TByteBuffer Bytes);
  // Reads the header from Source, which must outlive the image: decoding
  // reads its bytes again, as far as libjpeg takes them. Throws EJPEGError
  // when libjpeg cannot read the header, and what Source throws.
  void LoadFromSource(const TByteSource& Source);

  bool Empty() const { return FWidth == 0 && FHeight == 0; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TPictureSize Size() const { return {FWidth, FHeight}; }
  // The bytes it was loaded from (none when it reads a source).
  const TByteBuffer& Bytes() const { return FBytes; }

  static size_t BytesPerPixel(TPixelLayout Layout) { return Layout == TPixelLayout::RGB24 ? 3 : 4; }

  // Decodes the whole picture into Pixels, Stride bytes per row, top row
  // first, at Eighths/8 of its size (libjpeg's DCT scaling, Eighths 1 to 8):
  // Pixels must hold ScaledSize(Size(), Eighths). The compressed data are
  // read in full at any scale. Throws EJPEGTooLarge above MaxPixels and
  // EJPEGError when libjpeg fails or the picture costs more than its data
  // justify; corrupt data that libjpeg can work past is decoded as far as
  // it goes.
  void DecodeTo(TPixelLayout Layout, std::span<uint8_t> Pixels, size_t Stride, int Eighths = 8) const;

  // Checks the size against MaxPixels and MaxPixelsPerByte, as DecodeTo
  // does, without decoding.
  void CheckDecodable() const;

 private:
  bool ReadHeader(const TByteSource& Source);

  TByteBuffer FBytes;
  const TByteSource* FSource = nullptr;
  int64_t FSize = 0;  // of the data
  int FWidth = 0;
  int FHeight = 0;
  size_t FDataStart = 0;  // where the first scan's compressed data begin
  int FErrorCode = 0;  // libjpeg's code for the last header that failed
};

// The JPEG decoder behind the picture decoders' interface: it decodes at the
// smallest whole number of eighths of the picture's size that is at least
// the size asked for. Throws as TJPEGImage::LoadFromSource does.
std::unique_ptr<TPictureDecoder> OpenJpegDecoder(const TByteSource& Source);

// The smallest scale, in eighths (1 to 8), at which Stored is at least
// AtLeast in both directions; 8 when no smaller one is.
int EighthsAtLeast(TPictureSize Stored, TPictureSize AtLeast);
