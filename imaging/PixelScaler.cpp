#include "PixelScaler.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

int BytesPerPixel(TSampleLayout Layout) { return Layout == TSampleLayout::slRGB ? 3 : 4; }

// One sample laid over a background sample by its alpha, rounded.
uint8_t OverBackground(unsigned Sample, unsigned Alpha, unsigned Background, TSampleLayout Layout) {
  if (Layout == TSampleLayout::slPremultipliedRGBA)
    return static_cast<uint8_t>(std::min(255u, Sample + (Background * (255 - Alpha) + 127) / 255));
  return static_cast<uint8_t>((Sample * Alpha + Background * (255 - Alpha) + 127) / 255);
}

uint8_t Rounded(double Value) { return static_cast<uint8_t>(std::clamp(Value + 0.5, 0.0, 255.0)); }

}  // namespace

void CheckPixelBuffer(std::span<const uint8_t> Pixels, size_t Stride, TPictureSize Size) {
  const auto Width = static_cast<uint64_t>(std::max(0, Size.Width));
  const auto Height = static_cast<uint64_t>(std::max(0, Size.Height));
  if (Stride < Width * 4 || (Height > 0 && Pixels.size() / Height < Stride))
    throw std::invalid_argument("picture decoder: the pixel buffer is too small for the picture");
}

std::string TooManyPixels(TPictureSize Size, uint64_t MaxPixels) {
  const uint64_t Pixels = uint64_t(std::max(0, Size.Width)) * uint64_t(std::max(0, Size.Height));
  if (Pixels <= MaxPixels) return {};
  return "the picture is too large to show (" + std::to_string(Size.Width) + " x " + std::to_string(Size.Height) +
         " pixels)";
}

TAreaScaler::TAreaScaler(TPictureSize From, TPictureSize To, std::span<uint8_t> Pixels, size_t Stride,
                         uint32_t Background, bool RowsInOrder)
    : FFrom(From),
      FTo(To),
      FPixels(Pixels),
      FStride(Stride),
      FBackground{static_cast<uint8_t>(Background >> 16), static_cast<uint8_t>(Background >> 8),
                  static_cast<uint8_t>(Background)},
      FRowsInOrder(RowsInOrder) {
  if (To.Width <= 0 || To.Height <= 0 || To.Width > From.Width || To.Height > From.Height ||
      From.Width > MaxSide || From.Height > MaxSide)
    throw std::invalid_argument("picture decoder: a picture is only ever made smaller");
  CheckPixelBuffer(Pixels, Stride, To);
  if (From == To) return;
  const size_t Across = static_cast<size_t>(To.Width) * 3, Down = static_cast<size_t>(From.Width) * 3;
  if (RowsInOrder) {
    for (std::vector<uint32_t>& Sums : FColumnSums) Sums.assign(Down, 0);
  } else {
    FAcross.assign(Across, 0.0f);
    FSums.assign(Across * static_cast<size_t>(To.Height), 0.0f);
  }
}

void TAreaScaler::AddRow(int Y, std::span<const uint8_t> Samples, TSampleLayout Layout, int First,
                         int Step) noexcept {
  if (Y < 0 || Y >= FFrom.Height || First < 0 || First >= FFrom.Width || Step < 1) return;
  const int Fit = (FFrom.Width - 1 - First) / Step + 1;
  const int Count = static_cast<int>(std::min<size_t>(static_cast<size_t>(Fit),
                                                      Samples.size() / static_cast<size_t>(BytesPerPixel(Layout))));
  const uint8_t* Rgb = Composited(Samples.data(), Layout, Count);
  if (FFrom == FTo)
    CopyRow(Y, Rgb, First, Step, Count);
  else if (FRowsInOrder)
    AddDown(Y, Rgb, Count);
  else
    AddAcross(Y, Rgb, First, Step, Count);
}

// The samples as R, G, B laid over the background: those given, when they
// have no alpha.
const uint8_t* TAreaScaler::Composited(const uint8_t* Samples, TSampleLayout Layout, int Count) noexcept {
  if (Layout == TSampleLayout::slRGB) return Samples;
  FRgb.resize(static_cast<size_t>(FFrom.Width) * 3);
  uint8_t* Out = FRgb.data();
  for (int Index = 0; Index < Count; ++Index, Samples += 4, Out += 3)
    for (int Channel = 0; Channel < 3; ++Channel)
      Out[Channel] = Samples[3] == 255 ? Samples[Channel]
                                       : OverBackground(Samples[Channel], Samples[3], FBackground[Channel], Layout);
  return FRgb.data();
}

void TAreaScaler::Store(int Row, int Column, const uint8_t* Rgb) noexcept {
  const uint32_t Pixel = 0xFF000000u | uint32_t{Rgb[0]} << 16 | uint32_t{Rgb[1]} << 8 | Rgb[2];
  std::memcpy(FPixels.data() + FStride * static_cast<size_t>(Row) + static_cast<size_t>(Column) * 4, &Pixel, 4);
}

void TAreaScaler::CopyRow(int Y, const uint8_t* Rgb, int First, int Step, int Count) noexcept {
  for (int Index = 0; Index < Count; ++Index, Rgb += 3) Store(Y, First + Index * Step, Rgb);
}

// Source row Y covers [Y * To.Height, (Y + 1) * To.Height) in units of which
// each written row has From.Height: it lies wholly in one written row, or
// straddles the edge of two. (The loops are plain, so that they vectorise.)
void TAreaScaler::AddDown(int Y, const uint8_t* Rgb, int Count) noexcept {
  const int64_t Top = int64_t{Y} * FTo.Height, Bottom = Top + FTo.Height;
  const auto Row = static_cast<int>(Top / FFrom.Height);
  const int64_t Split = int64_t{Row + 1} * FFrom.Height;
  for (; FNextRow < Row; ++FNextRow) WriteAcross(FNextRow);
  const size_t Samples = static_cast<size_t>(Count) * 3;
  uint32_t* This = FColumnSums[Row % 2].data();
  const auto Above = static_cast<uint32_t>(std::min(Bottom, Split) - Top);
  for (size_t Index = 0; Index < Samples; ++Index) This[Index] += Rgb[Index] * Above;
  if (Bottom <= Split) return;
  uint32_t* Next = FColumnSums[(Row + 1) % 2].data();
  const auto Below = static_cast<uint32_t>(Bottom - Split);
  for (size_t Index = 0; Index < Samples; ++Index) Next[Index] += Rgb[Index] * Below;
}

// Makes written row Row from its column sums: source column X covers
// [X * To.Width, (X + 1) * To.Width) in units of which each written column
// has From.Width. Whole columns are added up and weighed once; the column
// that straddles the edge of two written ones is shared by its units.
void TAreaScaler::WriteAcross(int Row) noexcept {
  if (Row >= FTo.Height) return;
  std::vector<uint32_t>& Sums = FColumnSums[Row % 2];
  const uint64_t ColumnUnits = static_cast<uint64_t>(FTo.Width);
  const auto Sum = [&](int64_t X, int Channel) {
    return uint64_t{Sums[static_cast<size_t>(X) * 3 + static_cast<size_t>(Channel)]};
  };
  const double Scale = 1.0 / (static_cast<double>(FFrom.Width) * static_cast<double>(FFrom.Height));
  int64_t X = 0;
  for (int Column = 0; Column < FTo.Width; ++Column) {
    const int64_t Start = int64_t{Column} * FFrom.Width, End = Start + FFrom.Width;
    uint64_t Wholes[3] = {}, Parts[3] = {};
    if (X * FTo.Width < Start) {  // the rest of the column that straddles the left edge
      const auto Units = static_cast<uint64_t>((X + 1) * FTo.Width - Start);
      for (int Channel = 0; Channel < 3; ++Channel) Parts[Channel] += Sum(X, Channel) * Units;
      ++X;
    }
    for (; (X + 1) * FTo.Width <= End; ++X)
      for (int Channel = 0; Channel < 3; ++Channel) Wholes[Channel] += Sum(X, Channel);
    if (X < FFrom.Width && X * FTo.Width < End) {  // the start of the one that straddles the right edge
      const auto Units = static_cast<uint64_t>(End - X * FTo.Width);
      for (int Channel = 0; Channel < 3; ++Channel) Parts[Channel] += Sum(X, Channel) * Units;
    }
    uint8_t Rgb[3];
    for (int Channel = 0; Channel < 3; ++Channel)
      Rgb[Channel] = Rounded(static_cast<double>(Wholes[Channel] * ColumnUnits + Parts[Channel]) * Scale);
    Store(Row, Column, Rgb);
  }
  std::fill(Sums.begin(), Sums.end(), 0u);
}

// Shrinks source row Y across into FAcross (a pixel in column X covers
// [X * To.Width, (X + 1) * To.Width) in units of which each written column
// has From.Width), then adds that to the sums of the written rows it
// covers (down, as AddDown measures).
void TAreaScaler::AddAcross(int Y, const uint8_t* Rgb, int First, int Step, int Count) noexcept {
  std::fill(FAcross.begin(), FAcross.end(), 0.0f);
  const int64_t PixelUnits = FTo.Width, StepUnits = int64_t{Step} * FTo.Width;
  const float PerUnit = 1.0f / static_cast<float>(FFrom.Width);
  const float Whole = static_cast<float>(PixelUnits) * PerUnit;
  int64_t Left = int64_t{First} * PixelUnits;
  auto Column = static_cast<size_t>(Left / FFrom.Width);
  int64_t Split = static_cast<int64_t>(Column + 1) * FFrom.Width;
  for (int Index = 0; Index < Count; ++Index, Rgb += 3) {
    float* Sum = &FAcross[Column * 3];
    if (Left + PixelUnits <= Split) {
      for (int Channel = 0; Channel < 3; ++Channel) Sum[Channel] += Rgb[Channel] * Whole;
    } else {
      const float Before = static_cast<float>(Split - Left) * PerUnit, After = Whole - Before;
      for (int Channel = 0; Channel < 3; ++Channel)
        Sum[Channel] += Rgb[Channel] * Before, Sum[3 + Channel] += Rgb[Channel] * After;
    }
    Left += StepUnits;
    while (Left >= Split) ++Column, Split += FFrom.Width;
  }
  const int64_t Top = int64_t{Y} * FTo.Height, Bottom = Top + FTo.Height;
  const auto Row = static_cast<int>(Top / FFrom.Height);
  const int64_t RowSplit = int64_t{Row + 1} * FFrom.Height;
  const float PerRowUnit = 1.0f / static_cast<float>(FFrom.Height);
  const auto AddTo = [&](int Target, float Weight) {
    if (Target >= FTo.Height) return;
    float* Sum = FSums.data() + static_cast<size_t>(Target) * FAcross.size();
    for (size_t Index = 0; Index < FAcross.size(); ++Index) Sum[Index] += FAcross[Index] * Weight;
  };
  AddTo(Row, static_cast<float>(std::min(Bottom, RowSplit) - Top) * PerRowUnit);
  if (Bottom > RowSplit) AddTo(Row + 1, static_cast<float>(Bottom - RowSplit) * PerRowUnit);
}

void TAreaScaler::WriteSums(int Row) noexcept {
  const float* Sum = FSums.data() + static_cast<size_t>(Row) * FAcross.size();
  for (int Column = 0; Column < FTo.Width; ++Column, Sum += 3) {
    const uint8_t Rgb[3] = {Rounded(Sum[0]), Rounded(Sum[1]), Rounded(Sum[2])};
    Store(Row, Column, Rgb);
  }
}

void TAreaScaler::Finish() noexcept {
  if (FFrom == FTo) return;
  for (; FNextRow < FTo.Height; ++FNextRow) FRowsInOrder ? WriteAcross(FNextRow) : WriteSums(FNextRow);
}
