#include <gtest/gtest.h>

#include "ExifWriter.h"
#include "JpegImage.h"
#include "JpegMaker.h"

namespace {

TByteBuffer Buffer(const TBytes& Bytes) { return TByteBuffer(Bytes.begin(), Bytes.end()); }

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
}

// libjpeg's DCT scaling gives the size ScaledSize computes, with the
// colours where they belong.
TEST(JpegImage, DecodesAtEveryScale) {
  const TBytes Jpeg = MakeJpeg(100, 75, [](int X, int) { return X < 50 ? 0xFF0000u : 0x0000FFu; }, 100);
  TJPEGImage Image;
  Image.LoadFromBytes(Buffer(Jpeg));
  for (int Eighths = 1; Eighths <= 8; ++Eighths) {
    const TPictureSize Size = ScaledSize(Image.Size(), Eighths);
    EXPECT_EQ(Size, (TPictureSize{(100 * Eighths + 7) / 8, (75 * Eighths + 7) / 8}));
    const auto Stride = static_cast<size_t>(Size.Width) * 3;
    std::vector<uint8_t> Rgb(Stride * static_cast<size_t>(Size.Height));
    ASSERT_NO_THROW(Image.DecodeTo(TPixelLayout::RGB24, Rgb, Stride, Eighths)) << Eighths << "/8";
    EXPECT_GT(Rgb[0], 200) << Eighths << "/8";
    EXPECT_GT(Rgb[Stride - 1], 200) << Eighths << "/8";
  }
}

// Decoding costs what the data justify: the densest legal pictures decode,
// while pictures that declare far more than their data hold are refused,
// from the header or as their scans run.
TEST(JpegImage, WorkBoundedByTheData) {
  struct TCase {
    const char* Name;
    TBytes Bytes;
    bool Refused;
  };
  const TCase Cases[] = {
      {"flat grey, one DC scan: 512 pixels per byte", EndOfBandJpeg(2048, 2048, true, 0), false},
      {"flat grey, a full progression of 15 scans", EndOfBandJpeg(2048, 2048, true, 14), false},
      {"134 megapixels, no scan data", EmptyScanJpeg(11585, 11585), true},
      {"134 megapixels, 1000 scans of end-of-band runs", EndOfBandJpeg(11585, 11585, false, 1000), true},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TJPEGImage Image;
    Image.LoadFromBytes(Buffer(Case.Bytes));
    const TPictureSize Size = ScaledSize(Image.Size(), 1);
    const auto Stride = static_cast<size_t>(Size.Width) * 3;
    std::vector<uint8_t> Rgb(Stride * static_cast<size_t>(Size.Height));
    try {
      Image.DecodeTo(TPixelLayout::RGB24, Rgb, Stride, 1);
      EXPECT_FALSE(Case.Refused);
    } catch (const EJPEGError& Error) {
      EXPECT_TRUE(Case.Refused);
      EXPECT_EQ(std::string(Error.what()), "JPEG error #1000");
    }
  }
}

// A header claiming a huge picture is refused before any pixel is allocated.
TEST(JpegImage, RefusesHugePictures) {
  const TBytes Jpeg = WithDeclaredSize(MakeJpeg(8, 8), 60000, 60000);
  TJPEGImage Image;
  Image.LoadFromBytes(Buffer(Jpeg));
  EXPECT_EQ(Image.Width(), 60000);
  EXPECT_THROW(Image.CheckDecodable(), EJPEGTooLarge);
  std::vector<uint8_t> Nothing;
  EXPECT_THROW(Image.DecodeTo(TPixelLayout::RGB24, Nothing, 60000 * 3), EJPEGTooLarge);
}

// A legal 134-megapixel progressive colour picture needs some 800 MB of
// coefficients at any scale: it is refused with libjpeg's out-of-memory error
// instead of taking that memory.
TEST(JpegImage, DecodeMemoryIsBounded) {
  TJPEGImage Image;
  Image.LoadFromBytes(Buffer(ColourDcOnlyJpeg(11585, 11585)));
  EXPECT_NO_THROW(Image.CheckDecodable());
  const TPictureSize Size = ScaledSize(Image.Size(), 1);
  std::vector<uint8_t> Rgb(static_cast<size_t>(Size.Width) * 3 * static_cast<size_t>(Size.Height));
  try {
    Image.DecodeTo(TPixelLayout::RGB24, Rgb, static_cast<size_t>(Size.Width) * 3, 1);
    ADD_FAILURE() << "decoded";
  } catch (const EJPEGError& Error) {
    EXPECT_STREQ(Error.what(), "JPEG error #54");  // libjpeg's JERR_OUT_OF_MEMORY
  }
  // The same picture of a quarter of the size decodes.
  Image.LoadFromBytes(Buffer(ColourDcOnlyJpeg(5792, 5792)));
  const TPictureSize Quarter = ScaledSize(Image.Size(), 1);
  Rgb.resize(static_cast<size_t>(Quarter.Width) * 3 * static_cast<size_t>(Quarter.Height));
  EXPECT_NO_THROW(Image.DecodeTo(TPixelLayout::RGB24, Rgb, static_cast<size_t>(Quarter.Width) * 3, 1));
}

// Data cut in the middle of the scan still decodes.
TEST(JpegImage, TruncatedScanGivesAWarning) {
  TBytes Jpeg = MakeJpeg(64, 64, [](int X, int Y) { return uint32_t(X * 4) << 16 | uint32_t(Y * 4); });
  Jpeg.resize(Jpeg.size() * 2 / 3);
  TJPEGImage Image;
  Image.LoadFromBytes(Buffer(Jpeg));
  std::vector<uint8_t> Rgb(64 * 64 * 3);
  EXPECT_NO_THROW(Image.DecodeTo(TPixelLayout::RGB24, Rgb, 64 * 3));
}

}  // namespace
