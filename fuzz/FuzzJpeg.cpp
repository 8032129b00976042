// Fuzz target: the JPEG image object's header read and decode, at full size
// and at a reduced DCT scale (chosen by the input's length). Decodes of more
// than 4 megapixels, or of pictures above 16, are left out, as the viewer
// refuses those above its own limit, so that each run stays short.
#include "JpegImage.h"

namespace {

constexpr uint64_t FuzzMaxPixels = uint64_t{1} << 22;
constexpr uint64_t FuzzMaxPicturePixels = uint64_t{1} << 24;

void Decode(const TJPEGImage& Image, int Eighths) {
  const TPictureSize Size = ScaledSize(Image.Size(), Eighths);
  const auto Width = static_cast<size_t>(Size.Width);
  const auto Height = static_cast<size_t>(Size.Height);
  if (uint64_t{Width} * Height > FuzzMaxPixels) return;
  if (uint64_t(Image.Width()) * uint64_t(Image.Height()) > FuzzMaxPicturePixels) return;
  TByteBuffer Pixels(Width * Height * 3);
  try {
    Image.DecodeTo(TPixelLayout::RGB24, Pixels, Width * 3, Eighths);
  } catch (const std::runtime_error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TJPEGImage Image;
  try {
    Image.LoadFromBytes(TByteBuffer(Data, Data + Size));
  } catch (const EJPEGError&) {
    return 0;
  }
  Decode(Image, 8);
  Decode(Image, 1 + static_cast<int>(Size % 7));
  return 0;
}
