#include "Rotation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>

namespace {

// The nearest integer, halves to the even neighbour, whatever the FPU's
// rounding mode is.
int64_t RoundHalfEven(double Value) {
  constexpr double Limit = 4611686018427387904.0;  // 2^62: far beyond any picture
  if (!(std::fabs(Value) < Limit)) return 0;
  const double Floor = std::floor(Value);
  const double Fraction = Value - Floor;
  double Rounded = Floor;
  if (Fraction > 0.5 || (Fraction == 0.5 && std::fmod(Floor, 2.0) != 0.0)) Rounded = Floor + 1.0;
  return static_cast<int64_t>(Rounded);
}

void FillRow(uint32_t* Row, int64_t From, int64_t To, uint32_t Colour) {
  if (To > From) std::fill(Row + From, Row + To, Colour);
}

uint32_t* TargetRow(const TPixels& Target, int64_t Y) { return Target.Bits + Y * Target.Stride; }

void Fill(const TPixels& Target, uint32_t Colour) {
  for (int64_t Y = 0; Y < Target.Height; ++Y) FillRow(TargetRow(Target, Y), 0, Target.Width, Colour);
}

// ---------------------------------------------------------------------------
// Quarter and half turns at full size: every target pixel maps to exactly one
// source pixel, Col = ColX*x + ColY*y + Col0 and Row = RowX*x + RowY*y + Row0,
// with coefficients -1, 0 or 1.

struct TAxisMapping {
  int64_t ColX = 0, ColY = 0, Col0 = 0;
  int64_t RowX = 0, RowY = 0, Row0 = 0;
  // The target rectangle the picture covers, clipped to the target.
  int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Sign of an edge that runs exactly along an axis with the given length;
// nullopt when it does not.
struct TAxisStep {
  int64_t X = 0;
  int64_t Y = 0;
};

std::optional<TAxisStep> AxisStep(TPixelPoint From, TPixelPoint To, int64_t Length) {
  const int64_t DX = To.X - From.X;
  const int64_t DY = To.Y - From.Y;
  if (DY == 0 && (DX == Length || DX == -Length)) return TAxisStep{DX > 0 ? 1 : -1, 0};
  if (DX == 0 && (DY == Length || DY == -Length)) return TAxisStep{0, DY > 0 ? 1 : -1};
  return std::nullopt;
}

// The source index along an edge for target pixel 0: a pixel centre at
// x + 0.5 lies at x - P0 along a rising edge and at P0 - 1 - x along a
// falling one.
int64_t IndexAtZero(TAxisStep Step, TPixelPoint P0) {
  if (Step.X != 0) return Step.X > 0 ? -P0.X : P0.X - 1;
  return Step.Y > 0 ? -P0.Y : P0.Y - 1;
}

std::optional<TAxisMapping> AxisMapping(const TPixels& Target, const TConstPixels& Source,
                                        const TRotationGeometry& G) {
  const auto Across = AxisStep(G.P0, G.P1, Source.Width);
  const auto Down = AxisStep(G.P0, G.P2, Source.Height);
  if (!Across || !Down || Across->X * Down->X + Across->Y * Down->Y != 0) return std::nullopt;
  TAxisMapping M;
  M.ColX = Across->X, M.ColY = Across->Y, M.Col0 = IndexAtZero(*Across, G.P0);
  M.RowX = Down->X, M.RowY = Down->Y, M.Row0 = IndexAtZero(*Down, G.P0);
  const TPixelPoint P3{G.P1.X + G.P2.X - G.P0.X, G.P1.Y + G.P2.Y - G.P0.Y};
  M.Left = std::max<int64_t>(0, std::min({G.P0.X, G.P1.X, G.P2.X, P3.X}));
  M.Right = std::min<int64_t>(Target.Width, std::max({G.P0.X, G.P1.X, G.P2.X, P3.X}));
  M.Top = std::max<int64_t>(0, std::min({G.P0.Y, G.P1.Y, G.P2.Y, P3.Y}));
  M.Bottom = std::min<int64_t>(Target.Height, std::max({G.P0.Y, G.P1.Y, G.P2.Y, P3.Y}));
  if (M.Right < M.Left) M.Right = M.Left;
  if (M.Bottom < M.Top) M.Bottom = M.Top;
  return M;
}

// Background around the covered rectangle.
void FillAround(const TPixels& Target, const TAxisMapping& M, uint32_t Colour) {
  for (int64_t Y = 0; Y < Target.Height; ++Y) {
    uint32_t* Row = TargetRow(Target, Y);
    if (Y < M.Top || Y >= M.Bottom) {
      FillRow(Row, 0, Target.Width, Colour);
    } else {
      FillRow(Row, 0, M.Left, Colour);
      FillRow(Row, M.Right, Target.Width, Colour);
    }
  }
}

const uint32_t* SourceAt(const TConstPixels& Source, const TAxisMapping& M, int64_t X, int64_t Y) {
  const int64_t Col = M.ColX * X + M.ColY * Y + M.Col0;
  const int64_t Row = M.RowX * X + M.RowY * Y + M.Row0;
  return Source.Bits + Row * Source.Stride + Col;
}

// Copies the rectangle [X0, X1) x [Y0, Y1) of the target from the source.
void CopyBlock(const TPixels& Target, const TConstPixels& Source, const TAxisMapping& M,
               int64_t X0, int64_t X1, int64_t Y0, int64_t Y1) {
  const ptrdiff_t StepX = M.ColX + M.RowX * Source.Stride;
  for (int64_t Y = Y0; Y < Y1; ++Y) {
    const uint32_t* From = SourceAt(Source, M, X0, Y);
    uint32_t* To = TargetRow(Target, Y) + X0;
    if (StepX == 1) {
      std::memcpy(To, From, static_cast<size_t>(X1 - X0) * sizeof(uint32_t));
      continue;
    }
    if (StepX == -1) {  // a half turn reads its source rows backwards
      std::reverse_copy(From - (X1 - X0) + 1, From + 1, To);
      continue;
    }
    for (int64_t X = X0; X < X1; ++X, From += StepX) *To++ = *From;
  }
}

// A quarter turn reads the source down its columns. Working in square tiles
// keeps the rows of the source that a tile touches in the cache while it is
// copied, instead of walking a whole column for every target row.
void DrawAxisAligned(const TPixels& Target, const TConstPixels& Source, const TAxisMapping& M,
                     uint32_t Background) {
  FillAround(Target, M, Background);
  constexpr int64_t Tile = 64;
  const bool AlongRows = M.RowX == 0;  // target rows read source rows: no tiling needed
  const int64_t TileWidth = AlongRows ? std::max<int64_t>(M.Right - M.Left, 1) : Tile;
  for (int64_t Y0 = M.Top; Y0 < M.Bottom; Y0 += Tile)
    for (int64_t X0 = M.Left; X0 < M.Right; X0 += TileWidth)
      CopyBlock(Target, Source, M, X0, std::min(X0 + TileWidth, M.Right), Y0,
                std::min(Y0 + Tile, M.Bottom));
}

// ---------------------------------------------------------------------------
// Any other parallelogram: the inverse map from target to source, in fixed
// point with 32 fraction bits, stepped along each target row. The span of a
// row inside the picture is solved exactly in integers, so the inner loop
// needs no bounds test.

using TWide = __int128;
constexpr double FixedOne = 4294967296.0;  // 2^32
constexpr int FixedShift = 32;

struct TInverseMapping {
  int64_t UX = 0, UY = 0, VX = 0, VY = 0;  // source steps per target pixel, fixed point
  TWide U0 = 0, V0 = 0;                    // source position of target pixel (0, 0)
};

std::optional<int64_t> ToFixed(double Value) {
  constexpr double Limit = 4611686018427387904.0;  // 2^62
  const double Scaled = Value * FixedOne;
  if (!(std::fabs(Scaled) < Limit)) return std::nullopt;
  return static_cast<int64_t>(std::llround(Scaled));
}

std::optional<TInverseMapping> InverseMapping(const TConstPixels& Source, const TRotationGeometry& G) {
  // Target = P0 + u * A + v * B, with A and B the target steps per source pixel.
  const double AX = static_cast<double>(G.P1.X - G.P0.X) / Source.Width;
  const double AY = static_cast<double>(G.P1.Y - G.P0.Y) / Source.Width;
  const double BX = static_cast<double>(G.P2.X - G.P0.X) / Source.Height;
  const double BY = static_cast<double>(G.P2.Y - G.P0.Y) / Source.Height;
  const double Det = AX * BY - BX * AY;
  if (Det == 0.0 || !std::isfinite(Det)) return std::nullopt;
  const double UX = BY / Det, UY = -BX / Det, VX = -AY / Det, VY = AX / Det;
  // Pixel centres: target pixel (0, 0) is the point (0.5, 0.5).
  const double CX = 0.5 - static_cast<double>(G.P0.X), CY = 0.5 - static_cast<double>(G.P0.Y);
  const auto FUX = ToFixed(UX), FUY = ToFixed(UY), FVX = ToFixed(VX), FVY = ToFixed(VY);
  const auto FU0 = ToFixed(UX * CX + UY * CY), FV0 = ToFixed(VX * CX + VY * CY);
  if (!FUX || !FUY || !FVX || !FVY || !FU0 || !FV0) return std::nullopt;
  return TInverseMapping{*FUX, *FUY, *FVX, *FVY, *FU0, *FV0};
}

TWide FloorDiv(TWide A, TWide B) {  // B > 0
  const TWide Q = A / B;
  return (A % B != 0 && A < 0) ? Q - 1 : Q;
}

TWide CeilDiv(TWide A, TWide B) {  // B > 0
  const TWide Q = A / B;
  return (A % B != 0 && A > 0) ? Q + 1 : Q;
}

// Narrows [From, To) to the integers x with 0 <= Start + x * Step < Limit.
void ClipSpan(TWide Start, int64_t Step, TWide Limit, TWide& From, TWide& To) {
  if (Step == 0) {
    if (Start < 0 || Start >= Limit) To = From;
    return;
  }
  if (Step > 0) {
    From = std::max(From, CeilDiv(-Start, Step));
    To = std::min(To, CeilDiv(Limit - Start, Step));
  } else {
    From = std::max(From, FloorDiv(Start - Limit, -TWide{Step}) + 1);
    To = std::min(To, FloorDiv(Start, -TWide{Step}) + 1);
  }
}

void DrawAffine(const TPixels& Target, const TConstPixels& Source, const TInverseMapping& M,
                uint32_t Background) {
  const TWide ULimit = TWide{Source.Width} << FixedShift;
  const TWide VLimit = TWide{Source.Height} << FixedShift;
  for (int64_t Y = 0; Y < Target.Height; ++Y) {
    const TWide URow = M.U0 + TWide{Y} * M.UY;
    const TWide VRow = M.V0 + TWide{Y} * M.VY;
    TWide From = 0, To = Target.Width;
    ClipSpan(URow, M.UX, ULimit, From, To);
    ClipSpan(VRow, M.VX, VLimit, From, To);
    uint32_t* Row = TargetRow(Target, Y);
    if (To <= From) {
      FillRow(Row, 0, Target.Width, Background);
      continue;
    }
    const auto X0 = static_cast<int64_t>(From), X1 = static_cast<int64_t>(To);
    FillRow(Row, 0, X0, Background);
    auto U = static_cast<int64_t>(URow + TWide{X0} * M.UX);
    auto V = static_cast<int64_t>(VRow + TWide{X0} * M.VX);
    for (int64_t X = X0; X < X1; ++X, U += M.UX, V += M.VX)
      Row[X] = Source.Bits[(V >> FixedShift) * Source.Stride + (U >> FixedShift)];
    FillRow(Row, X1, Target.Width, Background);
  }
}

}  // namespace

double OrientationAngle(int64_t Code) {
  switch (Code) {
    case 3:
    case 4:
      return std::numbers::pi;
    case 5:
    case 6:
      return std::numbers::pi / 2;
    case 7:
    case 8:
      return -std::numbers::pi / 2;
    default:
      return 0.0;
  }
}

TRotationGeometry RotationGeometry(int64_t Width, int64_t Height, float Angle, bool Enlarge) {
  const auto C = static_cast<double>(static_cast<float>(std::cos(static_cast<double>(Angle))));
  const auto S = static_cast<double>(static_cast<float>(std::sin(static_cast<double>(Angle))));
  const auto W = static_cast<double>(Width), H = static_cast<double>(Height);
  TRotationGeometry G;
  G.Width = Enlarge ? RoundHalfEven(std::fabs(C) * W + std::fabs(S) * H) : Width;
  G.Height = Enlarge ? RoundHalfEven(std::fabs(S) * W + std::fabs(C) * H) : Height;
  // The source's top-left corner, placed so that both centres meet; kept as
  // 32-bit floats like the sine and cosine.
  const auto X0 = static_cast<double>(static_cast<float>((static_cast<double>(G.Width) - W * C + H * S) / 2));
  const auto Y0 = static_cast<double>(static_cast<float>((static_cast<double>(G.Height) - W * S - H * C) / 2));
  G.P0 = {RoundHalfEven(X0), RoundHalfEven(Y0)};
  G.P1 = {RoundHalfEven(X0 + W * C), RoundHalfEven(Y0 + W * S)};
  G.P2 = {RoundHalfEven(X0 - H * S), RoundHalfEven(Y0 + H * C)};
  return G;
}

void DrawParallelogram(TPixels Target, TConstPixels Source, const TRotationGeometry& Corners,
                       uint32_t Background) {
  if (Target.Width <= 0 || Target.Height <= 0) return;
  if (Source.Width > 0 && Source.Height > 0) {
    if (const auto Axis = AxisMapping(Target, Source, Corners)) {
      DrawAxisAligned(Target, Source, *Axis, Background);
      return;
    }
    if (const auto Inverse = InverseMapping(Source, Corners)) {
      DrawAffine(Target, Source, *Inverse, Background);
      return;
    }
  }
  Fill(Target, Background);
}
