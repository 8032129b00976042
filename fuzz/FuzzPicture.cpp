// Fuzz target: the PNG and WebP decoders, each given the input: its header
// read, then a decode at a small size and at full size. Pictures above one
// megapixel are refused, as the decoders refuse those above their own limit,
// so that each run stays short.
#include "PictureDecoders.h"

#include <vector>

namespace {

constexpr uint64_t FuzzMaxPixels = uint64_t{1} << 20;

void Decode(TPictureDecoder& Decoder, TPictureSize AtLeast) {
  const TPictureSize Size = Decoder.DecodedSize(AtLeast);
  const size_t Stride = static_cast<size_t>(Size.Width) * 4;
  std::vector<uint8_t> Pixels(Stride * static_cast<size_t>(Size.Height));
  Decoder.DecodeTo(Pixels, Stride, AtLeast, 0x808080);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const TMemorySource Source({Data, Size});
  using TOpen = std::unique_ptr<TPictureDecoder> (*)(const TByteSource&, uint64_t);
  for (const TOpen Open : {TOpen{OpenPngDecoder}, TOpen{OpenWebpDecoder}}) {
    try {
      const std::unique_ptr<TPictureDecoder> Decoder = Open(Source, FuzzMaxPixels);
      Decode(*Decoder, {7, 5});
      Decode(*Decoder, Decoder->Size());
    } catch (const EPictureError&) {
    }
  }
  return 0;
}
