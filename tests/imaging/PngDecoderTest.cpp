#include <png.h>

#include <algorithm>

#include "DecodedPicture.h"
#include "PictureMaker.h"

namespace {

// The test pictures are 16 x 8 pixels of eight 4 x 4 blocks, each of one
// colour, so that at half and quarter size each block is still its colour.
constexpr int Width = 16, Height = 8;
int BlockOf(int X, int Y) { return Y / 4 * 4 + X / 4; }

// A sample of block K's channel C at a depth whose largest sample is Max.
unsigned Level(int K, int C, unsigned Max) { return unsigned(K * 5 + C * 3 + 1) * 37 % (Max + 1); }
// Block K's alpha at 8 bits: opaque, transparent and between.
uint8_t Alpha(int K) { return std::array<uint8_t, 8>{255, 0, 128, 255, 64, 255, 0, 200}[static_cast<size_t>(K)]; }

struct TPngCase {
  const char* Name;
  int ColourType;
  int Depth;
  bool Interlaced;
  bool Transparency;  // a tRNS chunk: the palette's alphas, or block 0's colour as the key
};

// Block K as the file stores it and as 8-bit RGBA.
struct TBlock {
  std::array<uint16_t, 4> Samples;
  std::array<uint8_t, 4> Rgba;
};

TBlock Opaque(const TPngCase& Case, int K) {
  const bool Wide = Case.Depth == 16;
  const unsigned Max = Wide ? 255 : (1u << Case.Depth) - 1;
  // An 8-bit value, and a sample of the case's depth: 16-bit samples are the
  // 8-bit ones times 257, which both ways of shortening them agree on.
  const auto Eight = [&](unsigned Sample) { return static_cast<uint8_t>(Sample * 255 / Max); };
  const auto Stored = [&](unsigned Sample) { return static_cast<uint16_t>(Wide ? Sample * 257 : Sample); };
  const bool Grey = (Case.ColourType & PNG_COLOR_MASK_COLOR) == 0;
  const bool HasAlpha = (Case.ColourType & PNG_COLOR_MASK_ALPHA) != 0;
  TBlock Result{};
  if (Case.ColourType == PNG_COLOR_TYPE_PALETTE) {
    const int Entries = std::min(8, 1 << Case.Depth);
    const int Index = K % Entries;
    Result.Samples[0] = static_cast<uint16_t>(Index);
    Result.Rgba = {uint8_t(Level(Index, 0, 255)), uint8_t(Level(Index, 1, 255)), uint8_t(Level(Index, 2, 255)),
                   Case.Transparency ? Alpha(Index) : uint8_t{255}};
    return Result;
  }
  const int Colours = Grey ? 1 : 3;
  for (int C = 0; C < 3; ++C) Result.Rgba[size_t(C)] = Eight(Level(K, Grey ? 0 : C, Max));
  for (int C = 0; C < Colours; ++C) Result.Samples[size_t(C)] = Stored(Level(K, C, Max));
  Result.Rgba[3] = 255;
  if (HasAlpha) {
    Result.Rgba[3] = Alpha(K);
    Result.Samples[size_t(Colours)] = Stored(Wide ? Alpha(K) : Alpha(K) * Max / 255);
  }
  return Result;
}

// With a tRNS key, the blocks stored as block 0 is are transparent.
TBlock Block(const TPngCase& Case, int K) {
  TBlock Result = Opaque(Case, K);
  if (Case.Transparency && Case.ColourType != PNG_COLOR_TYPE_PALETTE && Result.Samples == Opaque(Case, 0).Samples)
    Result.Rgba[3] = 0;
  return Result;
}

TPngPicture Picture(const TPngCase& Case) {
  TPngPicture Picture{Width, Height, Case.ColourType, Case.Depth, Case.Interlaced, {}, {}, {}};
  if (Case.ColourType == PNG_COLOR_TYPE_PALETTE)
    for (int Index = 0; Index < std::min(8, 1 << Case.Depth); ++Index) Picture.Palette.push_back(Block(Case, Index).Rgba);
  else if (Case.Transparency)
    Picture.TransparentKey = {Block(Case, 0).Samples[0], Block(Case, 0).Samples[1], Block(Case, 0).Samples[2]};
  Picture.Samples = [Case](int X, int Y) { return Block(Case, BlockOf(X, Y)).Samples; };
  return Picture;
}

uint32_t OverBackground(std::array<uint8_t, 4> Rgba) {
  uint32_t Pixel = 0xFF000000u;
  for (int C = 0; C < 3; ++C) {
    const unsigned Back = TestBackground >> (16 - 8 * C) & 0xFF;
    Pixel |= (Rgba[size_t(C)] * Rgba[3] + Back * (255u - Rgba[3]) + 127) / 255 << (16 - 8 * C);
  }
  return Pixel;
}

// Every colour type and bit depth, with and without tRNS, interlaced or
// not, decoded at full, half and quarter size: each pixel is its block's
// colour laid over the background.
TEST(PngDecoder, ColourTypesAndDepths) {
  const TPngCase Cases[] = {
      {"grey 1-bit", PNG_COLOR_TYPE_GRAY, 1, false, false},
      {"grey 2-bit", PNG_COLOR_TYPE_GRAY, 2, false, false},
      {"grey 4-bit", PNG_COLOR_TYPE_GRAY, 4, false, false},
      {"grey 8-bit", PNG_COLOR_TYPE_GRAY, 8, false, false},
      {"grey 16-bit", PNG_COLOR_TYPE_GRAY, 16, false, false},
      {"grey 4-bit, tRNS key", PNG_COLOR_TYPE_GRAY, 4, false, true},
      {"grey 16-bit, tRNS key", PNG_COLOR_TYPE_GRAY, 16, false, true},
      {"grey and alpha 8-bit", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
      {"grey and alpha 16-bit", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false},
      {"RGB 8-bit", PNG_COLOR_TYPE_RGB, 8, false, false},
      {"RGB 16-bit", PNG_COLOR_TYPE_RGB, 16, false, false},
      {"RGB 8-bit, tRNS key", PNG_COLOR_TYPE_RGB, 8, false, true},
      {"RGB 16-bit, tRNS key", PNG_COLOR_TYPE_RGB, 16, false, true},
      {"RGBA 8-bit", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false},
      {"RGBA 16-bit", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
      {"palette 1-bit", PNG_COLOR_TYPE_PALETTE, 1, false, false},
      {"palette 2-bit", PNG_COLOR_TYPE_PALETTE, 2, false, false},
      {"palette 4-bit", PNG_COLOR_TYPE_PALETTE, 4, false, false},
      {"palette 8-bit", PNG_COLOR_TYPE_PALETTE, 8, false, false},
      {"palette 4-bit, tRNS", PNG_COLOR_TYPE_PALETTE, 4, false, true},
      {"palette 8-bit, tRNS", PNG_COLOR_TYPE_PALETTE, 8, false, true},
      {"interlaced grey 2-bit", PNG_COLOR_TYPE_GRAY, 2, true, false},
      {"interlaced RGB 8-bit", PNG_COLOR_TYPE_RGB, 8, true, false},
      {"interlaced RGBA 16-bit", PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false},
      {"interlaced palette 8-bit, tRNS", PNG_COLOR_TYPE_PALETTE, 8, true, true},
  };
  for (const TPngCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    const std::vector<uint8_t> Bytes = MakePng(Picture(Case));
    const TMemorySource Source(Bytes);
    const std::unique_ptr<TPictureDecoder> Decoder = OpenPngDecoder(Source);
    ASSERT_EQ(Decoder->Size(), (TPictureSize{Width, Height}));
    for (const TPictureSize AtLeast : {TPictureSize{16, 8}, TPictureSize{8, 4}, TPictureSize{4, 2}}) {
      const TDecodedPicture Decoded = Decode(*Decoder, AtLeast);
      ASSERT_EQ(Decoded.Size, AtLeast);
      const int Scale = Width / AtLeast.Width;
      for (int Y = 0; Y < AtLeast.Height; ++Y)
        for (int X = 0; X < AtLeast.Width; ++X) {
          const uint32_t Expected = OverBackground(Block(Case, BlockOf(X * Scale, Y * Scale)).Rgba);
          ASSERT_TRUE(CloseColours(Decoded.At(X, Y), Expected, 1))
              << std::hex << Decoded.At(X, Y) << " for " << Expected << " at " << std::dec << X << "," << Y
              << " of " << AtLeast.Width;
        }
    }
  }
}

// Shrinking averages areas: a pixel that straddles two counts half in each.
// An interlaced picture, whose rows come in seven passes, shrinks to the
// same pixels as the same picture stored row by row, and at full size each
// pass's pixels land in their places, also in pictures too small for some
// passes.
TEST(PngDecoder, ShrinksByArea) {
  TPngPicture Row{3, 3, PNG_COLOR_TYPE_GRAY, 8, false, {}, {}, [](int X, int) {
                    return std::array<uint16_t, 4>{uint16_t(X * 90)};
                  }};
  const std::vector<uint8_t> Bytes = MakePng(Row);
  const TMemorySource Source(Bytes);
  const TDecodedPicture Shrunk = Decode(*OpenPngDecoder(Source), {2, 2});
  EXPECT_EQ(Shrunk.Pixels, (std::vector<uint32_t>{0xFF1E1E1E, 0xFF969696, 0xFF1E1E1E, 0xFF969696}));

  for (const TPictureSize Size : {TPictureSize{37, 23}, TPictureSize{3, 2}, TPictureSize{1, 9}}) {
    TPngPicture Gradient{Size.Width, Size.Height, PNG_COLOR_TYPE_RGB, 8, false, {}, {}, [](int X, int Y) {
                           return std::array<uint16_t, 4>{uint16_t(X * 7), uint16_t(Y * 11), uint16_t(X * Y % 256)};
                         }};
    const std::vector<uint8_t> Plain = MakePng(Gradient);
    Gradient.Interlaced = true;
    const std::vector<uint8_t> Interlaced = MakePng(Gradient);
    const TMemorySource PlainSource(Plain), InterlacedSource(Interlaced);
    for (const TPictureSize AtLeast : {Size, TPictureSize{10, 6}}) {
      const TDecodedPicture A = Decode(*OpenPngDecoder(PlainSource), AtLeast);
      const TDecodedPicture B = Decode(*OpenPngDecoder(InterlacedSource), AtLeast);
      EXPECT_EQ(A.Pixels, B.Pixels) << Size.Width << " x " << Size.Height << " at " << AtLeast.Width;
    }
    const TDecodedPicture Full = Decode(*OpenPngDecoder(InterlacedSource), Size);
    EXPECT_EQ(Full.At(Size.Width - 1, Size.Height - 1),
              0xFF000000u | uint32_t((Size.Width - 1) * 7) << 16 | uint32_t((Size.Height - 1) * 11) << 8 |
                  uint32_t((Size.Width - 1) * (Size.Height - 1) % 256));
  }
}

// Pictures refused, each with its reason, as EPictureError.
TEST(PngDecoder, Refusals) {
  TPngPicture Noise{64, 64, PNG_COLOR_TYPE_RGB, 8, false, {}, {}, [](int X, int Y) {
                      const auto Hash = uint16_t(unsigned(X * 7919 + Y * 104729) * 2654435761u >> 24);
                      return std::array<uint16_t, 4>{Hash, uint16_t(Hash ^ 0x5A), uint16_t(Hash * 3 % 256)};
                    }};
  const std::vector<uint8_t> Good = MakePng(Noise);
  const auto Length = [](const std::vector<uint8_t>& Png, size_t Chunk) {
    return uint32_t{Png[Chunk]} << 24 | uint32_t{Png[Chunk + 1]} << 16 | uint32_t{Png[Chunk + 2]} << 8 | Png[Chunk + 3];
  };
  const size_t Data = FindPngChunk(Good, "IDAT");
  std::vector<uint8_t> BadCrc = Good;
  BadCrc[Data + 8 + Length(Good, Data)] ^= 0x01;
  std::vector<uint8_t> Cut(Good.begin(), Good.begin() + static_cast<long>(Data + 2000));
  const std::vector<uint8_t> Tiny = MakePng({16, 8, PNG_COLOR_TYPE_GRAY, 8, false, {}, {}, [](int, int) {
                                               return std::array<uint16_t, 4>{};
                                             }});
  const size_t TinyData = FindPngChunk(Tiny, "IDAT");
  // The picture with an empty IDAT chunk (its CRC is that of "IDAT") instead of its own.
  std::vector<uint8_t> NoImageData(Tiny.begin(), Tiny.begin() + static_cast<long>(TinyData));
  NoImageData.insert(NoImageData.end(), {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E});
  NoImageData.insert(NoImageData.end(), Tiny.end() - 12, Tiny.end());

  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    std::string Error;
  } Cases[] = {
      {"a good picture", Good, ""},
      {"not a PNG file", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "PNG error: not a PNG file"},
      {"above 256 megapixels", WithPngSize(Tiny, 20000, 20000),
       "PNG error: the picture is too large to show (20000 x 20000 pixels)"},
      {"more pixels than the data can hold", WithPngSize(Tiny, 10000, 10000),
       "PNG error: 10000 x 10000 pixels cannot come from " + std::to_string(Length(Tiny, TinyData)) +
           " bytes of image data (at most 8400 pixels a byte)"},
      {"no image data", NoImageData, "PNG error: the file has no image data (IDAT)"},
      {"cut in its image data", Cut, "PNG error: the file ends early"},
      {"a changed CRC", BadCrc, "PNG error: IDAT: CRC error"},
  };
  for (const auto& Case : Cases) EXPECT_EQ(PictureError(OpenPngDecoder, Case.Bytes), Case.Error) << Case.Name;
}

}  // namespace
