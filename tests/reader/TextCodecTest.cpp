#include <gtest/gtest.h>

#include "TextCodec.h"

namespace {

std::string Text(std::initializer_list<uint8_t> Bytes, bool Cut = false) {
  const std::vector<uint8_t> Data(Bytes);
  return TextFromFileBytes(Data, Cut);
}

TEST(TextCodec, Utf8OrWindows1252) {
  EXPECT_EQ(Text({'C', 'a', 'n', 'o', 'n'}), "Canon");
  EXPECT_EQ(Text({0x43, 0x61, 0x66, 0xC3, 0xA9}), "Caf\u00E9");  // valid UTF-8 kept
  EXPECT_EQ(Text({0x43, 0x61, 0x66, 0xE9}), "Caf\u00E9");        // Latin-1 range
  EXPECT_EQ(Text({0x80, 0x99, 0x9F}), "\u20AC\u2122\u0178");     // the 0x80 block
  EXPECT_EQ(Text({0x81, 0x8D}), "\u0081\u008D");                 // undefined in 1252
  EXPECT_EQ(Text({0xC0, 0x80}), "\u00C0\u20AC");                 // overlong: not UTF-8
  EXPECT_EQ(Text({0xED, 0xA0, 0x80}), "\u00ED\u00A0\u20AC");     // surrogate: not UTF-8
  EXPECT_EQ(Text({0xF0, 0x9F, 0x93, 0xB7}), "\U0001F4F7");
}

TEST(TextCodec, SequenceCutAtTheLimitIsDropped) {
  EXPECT_EQ(Text({'a', 0xC3}, true), "a");
  EXPECT_EQ(Text({'a', 0xF0, 0x9F, 0x93}, true), "a");
  EXPECT_EQ(Text({'a', 0xC3}, false), "a\u00C3");
  EXPECT_EQ(Text({0xE9, 'a', 0xC3}, true), "\u00E9a\u00C3");  // not UTF-8 anyway
}

}  // namespace
