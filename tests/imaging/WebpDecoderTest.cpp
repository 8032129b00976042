#include "DecodedPicture.h"
#include "PictureMaker.h"

namespace {

// 0xAARRGGBB of eight 16 x 16 blocks, four across: opaque colours, one
// transparent and one half transparent.
constexpr uint32_t Blocks[8] = {0xFFFF0000, 0xFF00FF00, 0x000000FF, 0xFFFFFF00,
                                0xFF00FFFF, 0x80FF00FF, 0xFF808080, 0xFF000000};
uint32_t BlockPixel(int X, int Y) { return Blocks[Y / 16 * 4 + X / 16]; }

uint32_t OverBackground(uint32_t Argb) {
  const uint32_t Alpha = Argb >> 24;
  uint32_t Pixel = 0xFF000000u;
  for (int Shift = 0; Shift < 24; Shift += 8)
    Pixel |= ((Argb >> Shift & 0xFF) * Alpha + (TestBackground >> Shift & 0xFF) * (255 - Alpha) + 127) / 255 << Shift;
  return Pixel;
}

// Lossless and lossy pictures with alpha, at full, half and quarter size:
// each block's middle is its colour laid over the background (within what
// lossy coding and libwebp's scaling change).
TEST(WebpDecoder, StillPictures) {
  const struct {
    const char* Name;
    bool Lossless;
    int Tolerance;
  } Cases[] = {{"lossless", true, 2}, {"lossy", false, 16}};
  for (const auto& Case : Cases) {
    const std::vector<uint8_t> Bytes = MakeWebp(64, 32, BlockPixel, Case.Lossless);
    const TMemorySource Source(Bytes);
    const std::unique_ptr<TPictureDecoder> Decoder = OpenWebpDecoder(Source);
    ASSERT_EQ(Decoder->Size(), (TPictureSize{64, 32})) << Case.Name;
    for (const int Scale : {1, 2, 4}) {
      const TDecodedPicture Decoded = Decode(*Decoder, {64 / Scale, 32 / Scale});
      ASSERT_EQ(Decoded.Size, (TPictureSize{64 / Scale, 32 / Scale}));
      for (int Block = 0; Block < 8; ++Block) {
        const int X = (Block % 4 * 16 + 8) / Scale, Y = (Block / 4 * 16 + 8) / Scale;
        EXPECT_TRUE(CloseColours(Decoded.At(X, Y), OverBackground(Blocks[Block]), Case.Tolerance))
            << Case.Name << " at 1/" << Scale << ", block " << Block << ": " << std::hex << Decoded.At(X, Y);
      }
    }
  }
}

// An animation shows its first frame at its place on the canvas, over the
// background, at full and at half size; the second frame, which covers the
// canvas, is not shown.
TEST(WebpDecoder, AnimationShowsItsFirstFrame) {
  const std::vector<uint8_t> Bytes =
      MakeAnimatedWebp(64, 32,
                       {{MakeWebp(32, 16, [](int, int) { return 0xFFFF0000u; }, true), 16, 8},
                        {MakeWebp(64, 32, [](int, int) { return 0xFF0000FFu; }, true), 0, 0}});
  const TMemorySource Source(Bytes);
  const std::unique_ptr<TPictureDecoder> Decoder = OpenWebpDecoder(Source);
  ASSERT_EQ(Decoder->Size(), (TPictureSize{64, 32}));
  for (const int Scale : {1, 2}) {
    const TDecodedPicture Decoded = Decode(*Decoder, {64 / Scale, 32 / Scale});
    const uint32_t Background = 0xFF000000u | TestBackground;
    for (int Y = 0; Y < 32; Y += 2)
      for (int X = 0; X < 64; X += 2) {
        const bool InFrame = X >= 16 && X < 48 && Y >= 8 && Y < 24;
        ASSERT_EQ(Decoded.At(X / Scale, Y / Scale), InFrame ? 0xFFFF0000u : Background)
            << "at 1/" << Scale << ", " << X << "," << Y;
      }
  }
}

TEST(WebpDecoder, Refusals) {
  const std::vector<uint8_t> Good = MakeWebp(64, 32, BlockPixel, true);
  const std::vector<uint8_t> Noise = MakeWebp(
      128, 128, [](int X, int Y) { return 0xFF000000u | (unsigned(X * 7919 + Y * 104729) * 2654435761u >> 8); }, false);
  ASSERT_GT(Noise.size(), 4096u);  // larger than the headers the picture's size is read from
  std::vector<uint8_t> Cut(Good.begin(), Good.end() - 10);
  std::vector<uint8_t> Garbled = Good;
  std::fill(Garbled.begin() + 25, Garbled.end(), 0xFF);
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    uint64_t MaxPixels;
    std::string Error;
  } Cases[] = {
      {"a good picture", Good, MaxPicturePixels, ""},
      {"a good picture of some size", Noise, MaxPicturePixels, ""},
      {"not a WebP file", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, MaxPicturePixels,
       "WebP error: not a WebP file"},
      {"shorter than its RIFF header says", Cut, MaxPicturePixels,
       "WebP error: the file is " + std::to_string(Cut.size()) + " bytes long, but its RIFF header says " +
           std::to_string(Good.size())},
      {"garbled picture data", Garbled, MaxPicturePixels, "WebP error: bitstream error"},
      {"more pixels than allowed", Good, 2000, "WebP error: the picture is too large to show (64 x 32 pixels)"},
  };
  for (const auto& Case : Cases)
    EXPECT_EQ(PictureError(OpenWebpDecoder, Case.Bytes, Case.MaxPixels), Case.Error) << Case.Name;
}

}  // namespace
