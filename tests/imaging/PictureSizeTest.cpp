#include <gtest/gtest.h>

#include "PictureSize.h"

namespace {

// The scale a picture is decoded at: the smallest at which the turned
// picture still covers the size the fit rule draws it at on the screen.
TEST(PictureSize, DecodeEighths) {
  struct TCase {
    const char* Name;
    TPictureSize Stored;
    int64_t Orientation;
    TPictureSize Screen;
    int Eighths;
  };
  const TCase Cases[] = {
      {"fits the screen: full size", {640, 480}, 1, {1920, 1080}, 8},
      {"24 megapixels on full HD, drawn 1620 x 1080", {6000, 4000}, 1, {1920, 1080}, 3},
      {"the same turned, drawn 720 x 1080", {6000, 4000}, 6, {1920, 1080}, 2},
      {"the same on a 4K screen, drawn 3240 x 2160", {6000, 4000}, 1, {3840, 2160}, 5},
      {"panorama turned, drawn 259 x 1080", {16000, 3840}, 6, {1920, 1080}, 1},
      {"exactly twice the screen", {1600, 1200}, 1, {800, 600}, 4},
      {"the same turned, drawn 450 x 600", {1600, 1200}, 8, {800, 600}, 3},
      {"just under twice the screen, drawn 800 x 599", {1598, 1198}, 1, {800, 600}, 5},
  };
  for (const TCase& Case : Cases)
    EXPECT_EQ(DecodeEighths(Case.Stored, Case.Orientation, Case.Screen), Case.Eighths) << Case.Name;
}

}  // namespace
