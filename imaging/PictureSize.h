// Sizes on the way from a stored JPEG picture to the Image tab: the size
// after turning by an Orientation code, the fit rule of the picture control,
// and the DCT scale a picture is decoded at so that it is still at least as
// large as it can be drawn. Plain C++, shared by the reader, the window and
// the dump tool.
#pragma once

#include <cstdint>

struct TPictureSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TPictureSize&) const = default;
};

// Stored turned by the angle of an Orientation code: a quarter turn swaps
// width and height.
TPictureSize OrientedSize(TPictureSize Stored, int64_t Orientation);

// The size a picture is drawn at in a box: its own size when it fits, else
// shrunk to fit, keeping its proportions (never enlarged). Sides are
// truncated, and the side that limits the picture takes the box's length.
TPictureSize FitPicture(TPictureSize Picture, TPictureSize Box);

// The size libjpeg decodes a picture to at Eighths/8 of its size (Eighths
// 1 to 8): each side multiplied by Eighths/8 and rounded up.
TPictureSize ScaledSize(TPictureSize Stored, int Eighths);

// The smallest scale, in eighths, at which the picture, turned, is still at
// least as large in both directions as its full turned size is drawn in a
// box of Box (the screen). Decoding at that scale and shrinking to any
// control no larger than the box draws what a full-size decode would.
int DecodeEighths(TPictureSize Stored, int64_t Orientation, TPictureSize Box);

// The least size, in the stored picture's own orientation, that a picture
// must be decoded at so that, turned by Orientation and shrunk to fit any
// control no larger than Box, it draws what a full-size decode would: the
// size its full turned size is drawn at in Box, turned back.
TPictureSize DecodeAtLeast(TPictureSize Stored, int64_t Orientation, TPictureSize Box);

// The smallest size of Stored's proportions that is at least AtLeast in both
// directions and at most Stored: each side scaled by the larger of the two
// ratios and rounded up. The decoders that scale freely decode at it.
TPictureSize ProportionalSizeAtLeast(TPictureSize Stored, TPictureSize AtLeast);
