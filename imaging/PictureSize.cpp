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
