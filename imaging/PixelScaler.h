// What the PNG, WebP and HEIF decoders share: the checks of the caller's
// pixel buffer and of a picture's size, and the scaler that lays decoded
// samples over the background and shrinks them to the size shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "PictureSize.h"

// Throws std::invalid_argument unless Pixels holds Size.Height rows of
// Stride bytes, each at least 4 bytes a pixel.
void CheckPixelBuffer(std::span<const uint8_t> Pixels, size_t Stride, TPictureSize Size);

// The reason a picture of Size is refused above MaxPixels, or an empty
// string when it is not.
std::string TooManyPixels(TPictureSize Size, uint64_t MaxPixels);

// How the 8-bit samples of a decoded row are laid out.
enum class TSampleLayout {
  slRGB,                // R, G, B
  slRGBA,               // R, G, B, alpha
  slPremultipliedRGBA,  // R, G, B already multiplied by alpha, alpha
};

// Writes a picture of From's size into Pixels at To's size (at most From
// in both directions, sides of at most MaxSide) as 32-bit pixels 0xFFRRGGBB
// in the machine's byte order, Stride bytes a row. Each sample is first
// laid over Background (0xRRGGBB) by its alpha. Shrinking averages areas:
// each written pixel is the mean of the part of the picture it covers,
// every source pixel counted by the share of its area inside it. At From's
// own size pixels are copied as they come and nothing is held.
class TAreaScaler {
 public:
  static constexpr int MaxSide = 1 << 24;

  // RowsInOrder: each source row comes once, whole, top row first. The
  // rows are then summed down each source column, and each written row is
  // made and written as soon as its source rows are in, holding two rows of
  // column sums. Otherwise rows, or every Step-th pixel of a row, may come
  // in any order: each is shrunk across as it comes, into sums for the
  // whole written picture, written by Finish.
  TAreaScaler(TPictureSize From, TPictureSize To, std::span<uint8_t> Pixels, size_t Stride, uint32_t Background,
              bool RowsInOrder);

  // Adds the pixels of source row Y at columns First, First + Step, ...
  // whose samples Samples holds (as many pixels as it has whole ones, cut
  // at the row's end).
  void AddRow(int Y, std::span<const uint8_t> Samples, TSampleLayout Layout, int First = 0, int Step = 1) noexcept;

  // Writes the rows not written yet.
  void Finish() noexcept;

 private:
  const uint8_t* Composited(const uint8_t* Samples, TSampleLayout Layout, int Count) noexcept;
  void CopyRow(int Y, const uint8_t* Rgb, int First, int Step, int Count) noexcept;
  void AddDown(int Y, const uint8_t* Rgb, int Count) noexcept;
  void WriteAcross(int Row) noexcept;
  void AddAcross(int Y, const uint8_t* Rgb, int First, int Step, int Count) noexcept;
  void WriteSums(int Row) noexcept;
  void Store(int Row, int Column, const uint8_t* Rgb) noexcept;

  TPictureSize FFrom, FTo;
  std::span<uint8_t> FPixels;
  size_t FStride;
  uint8_t FBackground[3];
  bool FRowsInOrder;
  std::vector<uint8_t> FRgb;  // a row of samples laid over the background, when they have alpha
  // Rows in order: for the written row being made and the next (index Row
  // % 2), per source column and channel, the sum of its source rows, each
  // weighed by the units it has in the written row: a source row spans
  // To.Height units, a written row From.Height, so a sum is at most 255
  // times From.Height.
  int FNextRow = 0;  // the first written row not yet written
  std::vector<uint32_t> FColumnSums[2];
  // Rows in any order: for each written pixel and channel, its sum so far.
  std::vector<float> FAcross;  // one source row shrunk across, R, G, B for each written column
  std::vector<float> FSums;    // the whole written picture
};
