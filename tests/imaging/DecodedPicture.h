// What the picture decoders' tests share: a decode into a buffer whose rows
// are longer than the picture's, read back pixel by pixel, and the error
// message of a picture that is refused.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PictureDecoders.h"

using TOpenDecoder = std::unique_ptr<TPictureDecoder> (*)(const TByteSource&, uint64_t);

// The background the tests lay transparent pixels over.
constexpr uint32_t TestBackground = 0x336699;

struct TDecodedPicture {
  TPictureSize Size;
  std::vector<uint32_t> Pixels;  // 0xFFRRGGBB, row by row
  uint32_t At(int X, int Y) const { return Pixels[static_cast<size_t>(Y * Size.Width + X)]; }
};

inline TDecodedPicture Decode(TPictureDecoder& Decoder, TPictureSize AtLeast) {
  TDecodedPicture Decoded{Decoder.DecodedSize(AtLeast), {}};
  const auto Width = static_cast<size_t>(Decoded.Size.Width), Height = static_cast<size_t>(Decoded.Size.Height);
  const size_t Stride = Width * 4 + 12;
  std::vector<uint8_t> Bytes(Stride * Height, 0xAB);
  Decoder.DecodeTo(Bytes, Stride, AtLeast, TestBackground);
  Decoded.Pixels.resize(Width * Height);
  for (size_t Y = 0; Y < Height; ++Y) std::memcpy(&Decoded.Pixels[Y * Width], &Bytes[Y * Stride], Width * 4);
  return Decoded;
}

// Channel by channel, within Tolerance.
inline bool CloseColours(uint32_t A, uint32_t B, int Tolerance) {
  for (int Shift = 0; Shift < 32; Shift += 8)
    if (std::abs(int(A >> Shift & 0xFF) - int(B >> Shift & 0xFF)) > Tolerance) return false;
  return true;
}

// The message of the EPictureError that opening and decoding Bytes at full
// size gives; empty when none. Any other exception fails the test.
inline std::string PictureError(TOpenDecoder Open, const std::vector<uint8_t>& Bytes,
                                uint64_t MaxPixels = MaxPicturePixels) {
  const TMemorySource Source(Bytes);
  try {
    const std::unique_ptr<TPictureDecoder> Decoder = Open(Source, MaxPixels);
    Decode(*Decoder, Decoder->Size());
  } catch (const EPictureError& Error) {
    return Error.what();
  }
  return {};
}
