#include <gtest/gtest.h>

#include "MemoryStream.h"

namespace {

TMemoryStream StreamOf(std::initializer_list<uint8_t> Bytes) { return TMemoryStream(TByteBuffer(Bytes)); }

TEST(MemoryStream, ShortReadsLeaveTheRestOfTheBuffer) {
  TMemoryStream Stream = StreamOf({1, 2, 3});
  uint8_t Buffer[4] = {9, 9, 9, 9};
  Stream.Seek(1);
  EXPECT_EQ(Stream.Read(Buffer), 2u);
  EXPECT_EQ(Buffer[0], 2);
  EXPECT_EQ(Buffer[1], 3);
  EXPECT_EQ(Buffer[2], 9);
  EXPECT_EQ(Stream.Position(), 3);
  EXPECT_FALSE(Stream.ReadExact(Buffer));
}

TEST(MemoryStream, SeeksAnywhereReadsOnlyInside) {
  TMemoryStream Stream = StreamOf({1, 2, 3});
  uint8_t Buffer[2] = {};
  for (int64_t Position : {int64_t{-5}, int64_t{-1}, int64_t{3}, int64_t{1} << 40, INT64_MAX / 2}) {
    Stream.Seek(Position);
    EXPECT_EQ(Stream.Read(Buffer), 0u) << Position;
    EXPECT_EQ(Stream.Remaining(), 0) << Position;
  }
  Stream.Seek(-1);
  Stream.SeekBy(1);
  EXPECT_EQ(Stream.Read(Buffer), 2u);
}

TEST(MemoryStream, SliceClipsToTheData) {
  TMemoryStream Stream = StreamOf({1, 2, 3, 4});
  EXPECT_EQ(Stream.Slice(1, 2).size(), 2u);
  EXPECT_EQ(Stream.Slice(2, 100).size(), 2u);
  EXPECT_EQ(Stream.Slice(-1, 3).size(), 0u);
  EXPECT_EQ(Stream.Slice(4, 1).size(), 0u);
  EXPECT_EQ(Stream.Slice(0, INT64_MAX).size(), 4u);
}

}  // namespace
