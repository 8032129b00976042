// PNG and WebP pictures of known pixels, made with libpng's and libwebp's
// own encoders, for the tests and the benchmarks of the picture decoders.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// A PNG picture as it is stored: the colour type and bit depth of libpng's
// PNG_COLOR_TYPE_* and IHDR, and the samples of each pixel at that depth
// (grey or palette index first, then R, G, B and alpha as the colour type
// has them).
struct TPngPicture {
  int Width = 0;
  int Height = 0;
  int ColourType = 2;  // PNG_COLOR_TYPE_RGB
  int BitDepth = 8;
  bool Interlaced = false;
  std::vector<std::array<uint8_t, 4>> Palette;  // R, G, B, alpha (a tRNS chunk when any is below 255)
  std::optional<std::array<uint16_t, 3>> TransparentKey;  // tRNS of grey ([0]) or RGB pictures
  std::function<std::array<uint16_t, 4>(int X, int Y)> Samples;
};

std::vector<uint8_t> MakePng(const TPngPicture& Picture);

// A PNG picture whose rows are made one at a time (8-bit RGB, PaintRow
// fills 3 bytes a pixel), for pictures too large to describe pixel by pixel.
std::vector<uint8_t> MakePngRows(int Width, int Height, const std::function<void(int Y, uint8_t* Row)>& PaintRow,
                                 int Compression = 6);

// Png with its IHDR claiming Width x Height pixels (its CRC made right).
std::vector<uint8_t> WithPngSize(std::vector<uint8_t> Png, uint32_t Width, uint32_t Height);

// The offset of the first chunk of Type ("IDAT") in Png, or 0.
size_t FindPngChunk(const std::vector<uint8_t>& Png, const char* Type);

// A still WebP picture whose pixel (x, y) is Pixel(x, y) (0xAARRGGBB):
// lossless, or lossy at Quality (its alpha kept losslessly).
std::vector<uint8_t> MakeWebp(int Width, int Height, const std::function<uint32_t(int X, int Y)>& Pixel,
                              bool Lossless, int Quality = 90);

// One frame of an animation: a still WebP picture and where it goes on the
// canvas (even offsets).
struct TWebpFrame {
  std::vector<uint8_t> Picture;
  int X = 0;
  int Y = 0;
};

// An animated WebP picture of Width x Height whose frames are Frames.
std::vector<uint8_t> MakeAnimatedWebp(int Width, int Height, const std::vector<TWebpFrame>& Frames);
