#include <dlfcn.h>

#include <fstream>
#include <iterator>

#include "Corpus.h"
#include "DecodedPicture.h"

namespace {

// Whether libheif was in the process, or loaded by the decoder, before any
// test ran: linking the decoders must not load it.
const bool HeifMappedAtStart = dlopen("libheif.so.1", RTLD_LAZY | RTLD_NOLOAD) != nullptr;
const bool HeifLoadedAtStart = HeifLibraryLoaded();

std::vector<uint8_t> TestData(const std::string& Name) {
  std::ifstream In(std::string(LUMENTAG_TEST_DATA) + "/" + Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

TEST(HeifDecoder, LoadsLibheifOnFirstUse) {
  EXPECT_FALSE(HeifMappedAtStart);
  EXPECT_FALSE(HeifLoadedAtStart);
  const std::vector<uint8_t> Bytes = TestData("quadrants-irot.heic");
  const TMemorySource Source(Bytes);
  OpenHeifDecoder(Source);
  EXPECT_TRUE(HeifLibraryLoaded());
}

// The quadrants (red, green above; blue, yellow below) of each fixture, at
// full and half size, laid over the background where transparent; the
// picture with a quarter turn in its irot is decoded as stored, unturned.
TEST(HeifDecoder, Fixtures) {
  const uint32_t Back = 0xFF000000u | TestBackground;
  const struct {
    const char* File;
    uint32_t Quadrants[4];
  } Cases[] = {
      {"quadrants-10bit.heic", {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00}},
      {"quadrants-irot.heic", {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00}},
      {"quadrants-alpha.avif", {0xFFFF0000, Back, 0xFF1A33CC, 0xFFFFFF00}},  // blue at alpha 128
  };
  for (const auto& Case : Cases) {
    const std::vector<uint8_t> Bytes = TestData(Case.File);
    const TMemorySource Source(Bytes);
    const std::unique_ptr<TPictureDecoder> Decoder = OpenHeifDecoder(Source);
    ASSERT_EQ(Decoder->Size(), (TPictureSize{64, 48})) << Case.File;
    for (const int Scale : {1, 2}) {
      const TDecodedPicture Decoded = Decode(*Decoder, {64 / Scale, 48 / Scale});
      ASSERT_EQ(Decoded.Size, (TPictureSize{64 / Scale, 48 / Scale}));
      for (int Quadrant = 0; Quadrant < 4; ++Quadrant) {
        const int X = (Quadrant % 2 * 32 + 16) / Scale, Y = (Quadrant / 2 * 24 + 12) / Scale;
        EXPECT_TRUE(CloseColours(Decoded.At(X, Y), Case.Quadrants[Quadrant], 12))
            << Case.File << " at 1/" << Scale << ", quadrant " << Quadrant << ": " << std::hex << Decoded.At(X, Y);
      }
    }
  }
}

TEST(HeifDecoder, Refusals) {
  const std::vector<uint8_t> Good = TestData("quadrants-irot.heic");
  const std::vector<uint8_t> Cut(Good.begin(), Good.end() - 100);
  const std::vector<uint8_t> Garbage(200, 0x41);
  EXPECT_EQ(PictureError(OpenHeifDecoder, Good), "");
  EXPECT_EQ(PictureError(OpenHeifDecoder, Good, 64 * 47),
            "HEIF error: the picture is too large to show (64 x 48 pixels)");
  EXPECT_EQ(PictureError(OpenHeifDecoder, Garbage), "HEIF error: not a HEIF file");
  EXPECT_EQ(PictureError(OpenHeifDecoder, Cut).rfind("HEIF error: ", 0), 0u) << PictureError(OpenHeifDecoder, Cut);
}

// A real phone photo: a grid of tiles, shrunk to a preview.
TEST(HeifDecoder, CorpusPhoto) {
  SKIP_WITHOUT_CORPUS();
  std::ifstream In(CorpusFile("es-IMG_5195.HEIC"), std::ios::binary);
  const std::vector<uint8_t> Bytes{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
  const TMemorySource Source(Bytes);
  const std::unique_ptr<TPictureDecoder> Decoder = OpenHeifDecoder(Source);
  const TDecodedPicture Decoded = Decode(*Decoder, {256, 256});
  EXPECT_EQ(Decoded.Size, ProportionalSizeAtLeast(Decoder->Size(), {256, 256}));
}

}  // namespace
