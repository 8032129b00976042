#include <gtest/gtest.h>

#include <clocale>

#include "FolderOrder.h"

// Each row's First comes before its Second, and not the other way round, in
// any locale or none.
TEST(FolderOrder, NaturalOrder) {
  const struct {
    const char* Case;
    const char* First;
    const char* Second;
  } Rows[] = {
      {"p1 before p2", "p1.jpg", "p2.jpg"},
      {"p2 before p10", "p2.jpg", "p10.jpg"},
      {"numbers inside names", "IMG_9_b.jpg", "IMG_10_a.jpg"},
      {"the same number: a01 before a1, by the bytes", "a01.jpg", "a1.jpg"},
      {"leading zeros do not make a number larger", "a1.jpg", "a02.jpg"},
      {"numbers longer than 64 bits", "x99999999999999999999.jpg", "x100000000000000000000.jpg"},
      {"letters without regard to case", "apple.jpg", "Banana.jpg"},
      {"one name in two cases: capitals first, by the bytes", "IMG.JPG", "img.jpg"},
      {"a name before its longer names", "p1", "p1a"},
      {"non-ASCII bytes after ASCII, as unsigned bytes", "z.jpg", "\xC3\xA9t\xC3\xA9.jpg"},
      {"UTF-8 names by code point", "\xC3\xA9.jpg", "\xC3\xBC.jpg"},
  };
  for (const char* Locale : {"C", "de_DE.UTF-8"}) {
    std::setlocale(LC_ALL, Locale);
    for (const auto& Row : Rows) {
      EXPECT_TRUE(NaturalLess(Row.First, Row.Second)) << Row.Case;
      EXPECT_FALSE(NaturalLess(Row.Second, Row.First)) << Row.Case;
    }
  }
  std::setlocale(LC_ALL, "C");
  EXPECT_FALSE(NaturalLess("p1.jpg", "p1.jpg"));
  // From a name that is not among them.
  EXPECT_EQ(NeighbourName({"p10.jpg", "p2.jpg"}, "p3.jpg", false), "p2.jpg");
}
