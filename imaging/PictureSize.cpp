#include "PictureSize.h"

#include <algorithm>
#include <cmath>

#include "Rotation.h"

TPictureSize OrientedSize(TPictureSize Stored, int64_t Orientation) {
  const double Angle = OrientationAngle(Orientation);
  if (Angle == 0.0) return Stored;
  const TRotationGeometry Turned = RotationGeometry(Stored.Width, Stored.Height, static_cast<float>(Angle), true);
  return {static_cast<int>(Turned.Width), static_cast<int>(Turned.Height)};
}

TPictureSize FitPicture(TPictureSize Picture, TPictureSize Box) {
  const int PW = Picture.Width, PH = Picture.Height;
  const int BW = std::max(0, Box.Width), BH = std::max(0, Box.Height);
  if (PW <= 0 || PH <= 0) return {0, 0};
  if (PW <= BW && PH <= BH) return Picture;
  const double Aspect = static_cast<double>(PW) / PH;
  const auto Trunc = [](double Value) { return static_cast<int>(std::trunc(Value)); };
  int W, H;
  if (PW > PH) {
    W = BW, H = Trunc(BW / Aspect);
    if (H > BH) H = BH, W = Trunc(Aspect * BH);
  } else {
    H = BH, W = Trunc(Aspect * BH);
    if (W > BW) W = BW, H = Trunc(BW / Aspect);
  }
  return {W, H};
}

TPictureSize ScaledSize(TPictureSize Stored, int Eighths) {
  const auto Scale = [Eighths](int Side) {
    return static_cast<int>((int64_t{Side} * Eighths + 7) / 8);
  };
  return {Scale(Stored.Width), Scale(Stored.Height)};
}

int DecodeEighths(TPictureSize Stored, int64_t Orientation, TPictureSize Box) {
  const TPictureSize Drawn = FitPicture(OrientedSize(Stored, Orientation), Box);
  for (int Eighths = 1; Eighths < 8; ++Eighths) {
    const TPictureSize Decoded = OrientedSize(ScaledSize(Stored, Eighths), Orientation);
    if (Decoded.Width >= Drawn.Width && Decoded.Height >= Drawn.Height) return Eighths;
  }
  return 8;
}

TPictureSize DecodeAtLeast(TPictureSize Stored, int64_t Orientation, TPictureSize Box) {
  const TPictureSize Drawn = FitPicture(OrientedSize(Stored, Orientation), Box);
  const bool QuarterTurn = OrientedSize(TPictureSize{2, 1}, Orientation).Width == 1;
  return QuarterTurn ? TPictureSize{Drawn.Height, Drawn.Width} : Drawn;
}

TPictureSize ProportionalSizeAtLeast(TPictureSize Stored, TPictureSize AtLeast) {
  if (Stored.Width <= 0 || Stored.Height <= 0) return {0, 0};
  if (AtLeast.Width >= Stored.Width || AtLeast.Height >= Stored.Height) return Stored;
  // Of the two ratios AtLeast / Stored, the larger decides; compared in
  // 64-bit integers so that no rounding picks the wrong one.
  const bool ByWidth = int64_t{AtLeast.Width} * Stored.Height >= int64_t{AtLeast.Height} * Stored.Width;
  const int64_t Num = ByWidth ? AtLeast.Width : AtLeast.Height;
  const int64_t Den = ByWidth ? Stored.Width : Stored.Height;
  const auto Scale = [&](int Side) {
    return static_cast<int>(std::max<int64_t>(1, (int64_t{Side} * Num + Den - 1) / Den));
  };
  return {Scale(Stored.Width), Scale(Stored.Height)};
}
