// The decoders of PNG, WebP and HEIF (HEIC, AVIF) pictures. Each Open
// function reads the picture's header through Source, which must outlive
// the decoder, and refuses, with EPictureError, a picture that cannot be
// decoded or that has more than MaxPixels pixels (MaxPicturePixels unless a
// caller, such as a fuzzer, wants less); DecodeTo reads the picture again
// from the source each time it is called. They decode at any size, keeping
// the picture's proportions (ProportionalSizeAtLeast).
//
// Their libraries are not linked: each is loaded (dlopen) when the first
// picture of its kind is opened, and stays loaded, so that a process that
// shows no such picture never pays for loading it at its start (libpng and
// zlib, libwebp and libwebpdemux, libheif and its codecs). Bytes that are
// not a picture of the kind (by their first bytes) load nothing. When a
// library cannot be loaded, Open throws EPictureError saying so.
#pragma once

#include <cstdint>
#include <memory>

#include "ByteSource.h"
#include "PictureDecoder.h"

// libpng. Refuses, besides, a picture that claims more pixels than its
// compressed data could hold (MaxPngPixelsPerDataByte). Pictures are read
// row by row and shrunk as they come, interlaced ones too: no buffer of the
// picture's full size is made unless it is decoded at full size.
std::unique_ptr<TPictureDecoder> OpenPngDecoder(const TByteSource& Source, uint64_t MaxPixels);
inline std::unique_ptr<TPictureDecoder> OpenPngDecoder(const TByteSource& Source) {
  return OpenPngDecoder(Source, MaxPicturePixels);
}

// Deflate turns one byte into at most 1032, and the sparsest PNG picture
// (1 bit a pixel, one filter byte a row) needs at least 1/8 byte a pixel:
// a picture claiming more than 8,400 pixels for each byte of its image data
// (IDAT) cannot be real.
inline constexpr uint64_t MaxPngPixelsPerDataByte = 8400;

// libwebp, shrinking as it decodes; an animation shows its first frame.
// Only the bytes up to the end of the first picture are read.
std::unique_ptr<TPictureDecoder> OpenWebpDecoder(const TByteSource& Source, uint64_t MaxPixels);
inline std::unique_ptr<TPictureDecoder> OpenWebpDecoder(const TByteSource& Source) {
  return OpenWebpDecoder(Source, MaxPicturePixels);
}

// libheif: the primary image, as stored (its rotation, mirroring and
// cropping are not applied: the caller turns it by the container's irot),
// then shrunk.
std::unique_ptr<TPictureDecoder> OpenHeifDecoder(const TByteSource& Source, uint64_t MaxPixels);
inline std::unique_ptr<TPictureDecoder> OpenHeifDecoder(const TByteSource& Source) {
  return OpenHeifDecoder(Source, MaxPicturePixels);
}

// Whether libheif has been loaded into this process.
bool HeifLibraryLoaded();
