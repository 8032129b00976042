// Turning a picture about its centre: the orientation angles of the picture
// view, the size and corner points of a turned picture, and the
// nearest-neighbour parallelogram draw that fills the result. Plain C++ on
// 32-bit pixels, so the dump tool can compute what the viewer shows without a
// window toolkit.
#pragma once

#include <cstddef>
#include <cstdint>

// The angle in radians (positive turns clockwise on the screen, where y points
// down) by which the picture view turns a picture whose EXIF Orientation code
// is Code: pi for 3 and 4, pi/2 for 5 and 6, -pi/2 for 7 and 8, 0 otherwise.
// The mirrored codes 4, 5 and 7 are turned like 3, 6 and 8 and never mirrored.
double OrientationAngle(int64_t Code);

struct TPixelPoint {
  int64_t X = 0;
  int64_t Y = 0;
  bool operator==(const TPixelPoint&) const = default;
};

// Where a W x H picture turned by an angle lands in the result bitmap.
struct TRotationGeometry {
  int64_t Width = 0;   // of the result
  int64_t Height = 0;
  TPixelPoint P0;      // the source's top-left corner
  TPixelPoint P1;      // its top-right corner
  TPixelPoint P2;      // its bottom-left corner
};

// The result size and corner points of turning a Width x Height picture by
// Angle about its centre. cos and sin are taken as 32-bit floats, so a quarter
// turn's cosine is about -4.4e-8 rather than 0; every size and corner is then
// rounded to the nearest pixel, halves to even, which gives exact whole-pixel
// corners for quarter and half turns. Enlarge makes the result hold the whole
// turned picture; otherwise the result keeps the source's size.
TRotationGeometry RotationGeometry(int64_t Width, int64_t Height, float Angle, bool Enlarge);

// 32-bit pixels in rows of Stride pixels, top row first.
struct TPixels {
  uint32_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  ptrdiff_t Stride = 0;
};

struct TConstPixels {
  const uint32_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  ptrdiff_t Stride = 0;
};

// Draws all of Source into Target as the parallelogram whose corners P0, P1
// and P2 (of Corners) receive the source's top-left, top-right and bottom-left
// corners. Each target pixel whose centre falls inside takes the source pixel
// under its centre; every other target pixel is set to Background. Every
// target pixel is written exactly once. Quarter and half turns at full size
// are copied tile by tile without any arithmetic per pixel.
void DrawParallelogram(TPixels Target, TConstPixels Source, const TRotationGeometry& Corners,
                       uint32_t Background);
