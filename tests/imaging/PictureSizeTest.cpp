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
  for (const TCase& Case : Cases) {
    EXPECT_EQ(DecodeEighths(Case.Stored, Case.Orientation, Case.Screen), Case.Eighths) << Case.Name;
    // The least size to decode at, which the other formats use, asks for
    // the same eighths.
    const TPictureSize AtLeast = DecodeAtLeast(Case.Stored, Case.Orientation, Case.Screen);
    int Eighths = 1;
    while (Eighths < 8 && (ScaledSize(Case.Stored, Eighths).Width < AtLeast.Width ||
                           ScaledSize(Case.Stored, Eighths).Height < AtLeast.Height))
      ++Eighths;
    EXPECT_EQ(Eighths, Case.Eighths) << Case.Name;
  }
}

TEST(PictureSize, ProportionalSizeAtLeast) {
  const struct {
    TPictureSize Stored, AtLeast, Expected;
  } Cases[] = {
      {{6000, 4000}, {1620, 1080}, {1620, 1080}},
      {{6000, 4000}, {1620, 1000}, {1620, 1080}},  // the width decides
      {{6000, 4000}, {100, 1000}, {1500, 1000}},   // the height decides
      {{1001, 3}, {1, 1}, {334, 1}},               // sides rounded up, never 0
      {{640, 480}, {640, 10}, {640, 480}},         // never larger than stored
      {{640, 480}, {2000, 2000}, {640, 480}},
      {{0, 480}, {10, 10}, {0, 0}},
  };
  for (const auto& Case : Cases) EXPECT_EQ(ProportionalSizeAtLeast(Case.Stored, Case.AtLeast), Case.Expected);
}

}  // namespace
