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
      {"IMG_1.CR2", true},      {"a.cr3", true},            {"b.NEF", true},    {"c.3fr", true},
      {"d.raf", true},          {"e.rw2", true},            {"f.crw", false},   {"g.raw", false},
  };
  for (const auto& Case : Cases) EXPECT_EQ(IsOfferedFileName(Case.Name), Case.Offered) << Case.Name;
}

// The camera raw entry offers the patterns that end the "All" entry's.
TEST(FileTypes, CameraRawEntry) {
  const TFileTypeFilter& Raw = OpenFileFilters.back();
  const std::string_view All = OpenFileFilters.front().Patterns;
  EXPECT_EQ(Raw.Description, "Camera Raw (*.cr2; *.cr3; *.nef; *.arw; *.dng; *.orf; *.rw2; *.pef; *.raf; …)");
  EXPECT_EQ(All.substr(All.size() - Raw.Patterns.size()), Raw.Patterns);
  EXPECT_EQ(All[All.size() - Raw.Patterns.size() - 1], ' ');
}
