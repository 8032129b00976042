#include <gtest/gtest.h>

#include "ExifWriter.h"
#include "JpegImage.h"
#include "JpegMaker.h"

namespace {

TByteBuffer Buffer(const TBytes& Bytes) { return TByteBuffer(Bytes.begin(), Bytes.end()); }

// Offset of the SOF0 marker's height field in a baseline JPEG.
size_t SofSizeOffset(const TBytes& Jpeg) {
  for (size_t At = 2; At + 9 < Jpeg.size(); ++At)
    if (Jpeg[At] == 0xFF && Jpeg[At + 1] == 0xC0) return At + 5;
  return 0;
}

TEST(JpegImage, ReadsTheHeader) {
  TJPEGImage Image;
  Image.LoadFromBytes(Buffer(MakeJpeg(33, 17)));
  EXPECT_FALSE(Image.Empty());
  EXPECT_EQ(Image.Width(), 33);
  EXPECT_EQ(Image.Height(), 17);
}

TEST(JpegImage, FailuresBecomeJpegErrors) {
  const TBytes Garbage = BytesOf("not a JPEG picture at all");
  for (const TBytes& Bytes : {Garbage, TBytes{}, TBytes{0xFF, 0xD8}, TBytes{0xFF, 0xD8, 0xFF, 0xD9}}) {
    TJPEGImage Image;
    try {
      Image.LoadFromBytes(Buffer(Bytes));
      ADD_FAILURE() << "loaded";
    } catch (const EJPEGError& Error) {
      EXPECT_EQ(std::string(Error.what()), "JPEG error #" + std::to_string(Error.Code()));
      EXPECT_GT(Error.Code(), 0);
    }
    EXPECT_TRUE(Image.Empty());
    EXPECT_EQ(Image.Width(), 0);
  }
}

TEST(JpegImage, DecodesInBothLayouts) {
  const TBytes Jpeg = MakeJpeg(8, 8, [](int X, int) { return X < 4 ? 0xFF0000u : 0x0000FFu; }, 100);
  TJPEGImage Image;
  Image.LoadFromBytes(Buffer(Jpeg));
  std::vector<uint8_t> Rgb(8 * 8 * 3);
  Image.DecodeTo(TPixelLayout::RGB24, Rgb, 8 * 3);
  EXPECT_GT(Rgb[0], 200);  // red on the left
  EXPECT_LT(Rgb[2], 60);
  EXPECT_GT(Rgb[7 * 3 + 2], 200);  // blue on the right
  std::vector<uint8_t> Bgrx(8 * 8 * 4);
  Image.DecodeTo(TPixelLayout::BGRX32, Bgrx, 8 * 4);
  EXPECT_GT(Bgrx[2], 200);
  EXPECT_EQ(Bgrx[3], 0xFF);
  EXPECT_GT(Bgrx[7 * 4], 200);
  EXPECT_EQ(Image.Warnings(), 0);
}

// A header claiming a huge picture is refused before any pixel is allocated.
TEST(JpegImage, RefusesHugePictures) {
  TBytes Jpeg = MakeJpeg(8, 8);
  const size_t At = SofSizeOffset(Jpeg);
  ASSERT_NE(At, 0u);
  for (size_t Byte : {At, At + 2}) Jpeg[Byte] = 0xEA, Jpeg[Byte + 1] = 0x60;  // 60000
  TJPEGImage Image;
  Image.LoadFromBytes(Buffer(Jpeg));
  EXPECT_EQ(Image.Width(), 60000);
  EXPECT_THROW(Image.CheckDecodable(), EJPEGTooLarge);
  std::vector<uint8_t> Nothing;
  EXPECT_THROW(Image.DecodeTo(TPixelLayout::RGB24, Nothing, 60000 * 3), EJPEGTooLarge);
}

// Data cut in the middle of the scan still decodes, with a warning.
TEST(JpegImage, TruncatedScanGivesAWarning) {
  TBytes Jpeg = MakeJpeg(64, 64, [](int X, int Y) { return uint32_t(X * 4) << 16 | uint32_t(Y * 4); });
  Jpeg.resize(Jpeg.size() * 2 / 3);
  TJPEGImage Image;
  Image.LoadFromBytes(Buffer(Jpeg));
  std::vector<uint8_t> Rgb(64 * 64 * 3);
  EXPECT_NO_THROW(Image.DecodeTo(TPixelLayout::RGB24, Rgb, 64 * 3));
  EXPECT_GT(Image.Warnings(), 0);
}

}  // namespace
