#include <gtest/gtest.h>

#include "FileTypes.h"

TEST(FileTypes, OfferedNames) {
  const struct {
    const char* Name;
    bool Offered;
  } Cases[] = {
      {"photo.jpg", true},      {"DIR/IMG_0001.JPG", true}, {"a.JpEg", true},   {"x.heic", true},
      {"x.HIF", true},          {"x.avif", true},           {"x.webp", true},   {"x.tiff", true},
      {"x.gif", true},          {".jpg", false},            {"dir/.jpg", false}, {"x.jpg.txt", false},
      {"x.xmp", false},         {"jpg", false},             {"x.", false},      {"", false},
  };
  for (const auto& Case : Cases) EXPECT_EQ(IsOfferedFileName(Case.Name), Case.Offered) << Case.Name;
}
