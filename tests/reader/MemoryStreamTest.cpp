#include <gtest/gtest.h>

#include <cstring>

#include "FileBlocks.h"
#include "MemoryStream.h"
#include "TempDir.h"

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

TEST(MemoryStream, CopyClipsToTheData) {
  TMemoryStream Stream = StreamOf({1, 2, 3, 4});
  EXPECT_EQ(Stream.Copy(1, 2).size(), 2u);
  EXPECT_EQ(Stream.Copy(2, 100).size(), 2u);
  EXPECT_EQ(Stream.Copy(-1, 3).size(), 0u);
  EXPECT_EQ(Stream.Copy(4, 1).size(), 0u);
  EXPECT_EQ(Stream.Copy(0, INT64_MAX).size(), 4u);
}

// A file read in blocks of 7 bytes, three of them held, gives the same reads
// as its bytes in memory, across block boundaries and at the end; opening
// reads one block.
TEST(MemoryStream, FileBlocksReadLikeMemory) {
  TByteBuffer Bytes(100);
  for (size_t Index = 0; Index < Bytes.size(); ++Index) Bytes[Index] = static_cast<uint8_t>(Index * 7 + 1);
  TTempDir Dir;
  const std::string File = Dir.Write("blocks.bin", std::vector<uint8_t>(Bytes.begin(), Bytes.end()));
  const uint64_t ReadBefore = TFileBlocks::BlocksRead();
  TMemoryStream OnDisk(TFileBlocks::Open(File, 7, 21));
  EXPECT_EQ(TFileBlocks::BlocksRead() - ReadBefore, 1u);
  TMemoryStream InMemory(Bytes);
  ASSERT_EQ(OnDisk.Size(), 100);
  const std::pair<int64_t, size_t> Reads[] = {{0, 3}, {5, 4}, {6, 30}, {95, 10}, {99, 1}, {100, 1}, {-2, 4}, {50, 12}, {1, 30}, {0, 2}};
  for (const auto& [Position, Count] : Reads) {
    uint8_t FromDisk[40] = {}, FromMemory[40] = {};
    OnDisk.Seek(Position);
    InMemory.Seek(Position);
    EXPECT_EQ(OnDisk.Read(std::span(FromDisk, Count)), InMemory.Read(std::span(FromMemory, Count))) << Position;
    EXPECT_EQ(std::memcmp(FromDisk, FromMemory, sizeof FromDisk), 0) << Position;
    EXPECT_EQ(OnDisk.Position(), InMemory.Position()) << Position;
  }
}

}  // namespace
