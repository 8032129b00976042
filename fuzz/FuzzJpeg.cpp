// Fuzz target: the JPEG image object's header read and decode. Pictures
// above 4 megapixels are refused here, as the viewer refuses those above its
// own limit, so that each run stays short.
#include "JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  constexpr uint64_t FuzzMaxPixels = uint64_t{1} << 22;
  TJPEGImage Image;
  try {
    Image.LoadFromBytes(TByteBuffer(Data, Data + Size));
  } catch (const EJPEGError&) {
    return 0;
  }
  const auto Width = static_cast<size_t>(Image.Width());
  const auto Height = static_cast<size_t>(Image.Height());
  if (uint64_t{Width} * Height > FuzzMaxPixels) return 0;
  TByteBuffer Pixels(Width * Height * 3);
  try {
    Image.DecodeTo(TPixelLayout::RGB24, Pixels, Width * 3);
  } catch (const EJPEGError&) {
  }
  return 0;
}
