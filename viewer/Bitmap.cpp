#include "Bitmap.h"

#include <sys/mman.h>

#include <bit>
#include <cstdlib>
#include <new>
#include <span>

#include "FileBytes.h"

namespace {

// Large pictures live in memory of their own, aligned to 2 MiB and offered to
// the kernel for huge pages: a 24-megapixel picture then costs some dozens of
// page faults instead of some 24000, which is more time than its decoding
// takes on many machines.
constexpr size_t HugePage = size_t{2} << 20;

void FreePixels(void* Pixels) { std::free(Pixels); }

uchar* AllocatePixels(size_t Bytes) {
  const size_t Rounded = (Bytes + HugePage - 1) / HugePage * HugePage;
  void* Pixels = std::aligned_alloc(HugePage, Rounded);
#ifdef MADV_HUGEPAGE
  if (Pixels != nullptr) ::madvise(Pixels, Rounded, MADV_HUGEPAGE);
#endif
  return static_cast<uchar*>(Pixels);
}

}  // namespace

QImage NewImage(int Width, int Height, QImage::Format Format) {
  if (Width <= 0 || Height <= 0) return {};
  const auto RowBytes = static_cast<size_t>(Width) * 4;
  const size_t Bytes = RowBytes * static_cast<size_t>(Height);
  if (Bytes < HugePage) return QImage(Width, Height, Format);
  uchar* Pixels = AllocatePixels(Bytes);
  if (Pixels == nullptr) return {};
  return QImage(Pixels, Width, Height, static_cast<qsizetype>(RowBytes), Format, FreePixels, Pixels);
}

void TBitmap::CopyTransparency(const TBitmap& Source) {
  Transparent = Source.Transparent;
  TransparentColor = Source.TransparentColor;
  TransparentMode = Source.TransparentMode;
}

void TBitmap::SetSize(int NewWidth, int NewHeight, QImage::Format Format) {
  Picture = QImage();  // give the old pixels back first
  if (NewWidth <= 0 || NewHeight <= 0) return;
  Picture = NewImage(NewWidth, NewHeight, Format);
  if (Picture.isNull()) throw std::bad_alloc();
}

void TBitmap::Assign(TBitmap&& Source) {
  Picture = std::move(Source.Picture);
  Source.Picture = QImage();
  CopyTransparency(Source);
  BrushColor = Source.BrushColor;
}

TPixels TBitmap::Pixels() {
  if (Picture.isNull()) return {};
  // bits() of an image that shares its data detaches it first.
  return {reinterpret_cast<uint32_t*>(Picture.bits()), Width(), Height(), Picture.bytesPerLine() / 4};
}

TConstPixels TBitmap::Pixels() const {
  if (Picture.isNull()) return {};
  return {reinterpret_cast<const uint32_t*>(Picture.constBits()), Width(), Height(),
          Picture.bytesPerLine() / 4};
}

uint32_t TBitmap::BrushPixel() const {
  switch (Picture.format()) {
    case QImage::Format_ARGB32:
      return BrushColor.rgba();
    case QImage::Format_ARGB32_Premultiplied:
      return qPremultiply(BrushColor.rgba());
    default:
      return BrushColor.rgb();  // RGB32 keeps 0xFF in the unused byte
  }
}

QImage::Format ThirtyTwoBitFormat(const QImage& Image) {
  switch (Image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
      return Image.format();
    default:
      return Image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  }
}

QImage JpegToImage(const TJPEGImage& Jpeg, int Eighths) {
  Jpeg.CheckDecodable();
  const TPictureSize Size = ScaledSize(Jpeg.Size(), Eighths);
  QImage Image = NewImage(Size.Width, Size.Height, QImage::Format_RGB32);
  if (Image.isNull()) throw std::bad_alloc();
  // Format_RGB32 is 0xFFRRGGBB in native order: B, G, R, 0xFF in memory on
  // the little-endian machines this runs on, which is libjpeg's BGRX.
  static_assert(std::endian::native == std::endian::little);
  const std::span<uint8_t> Bits(Image.bits(), static_cast<size_t>(Image.sizeInBytes()));
  Jpeg.DecodeTo(TPixelLayout::BGRX32, Bits, static_cast<size_t>(Image.bytesPerLine()), Eighths);
  return Image;
}

QImage PictureToImage(TPictureSource& Source, TPictureSize Screen, QColor Background) {
  const TPictureSize Size = Source.DecodedSize(Screen);
  QImage Image = NewImage(Size.Width, Size.Height, QImage::Format_RGB32);
  if (Image.isNull()) throw std::bad_alloc();
  const std::span<uint8_t> Bits(Image.bits(), static_cast<size_t>(Image.sizeInBytes()));
  Source.DecodeTo(Bits, static_cast<size_t>(Image.bytesPerLine()), Screen, Background.rgb() & 0xFFFFFFu);
  return Image;
}

std::optional<TPictureSource> PictureOfFile(const TEXIF& Doc) {
  try {
    return TPictureSource(Doc);
  } catch (const EFileOpenError& Error) {
    if (Error.NoFile()) return std::nullopt;
    throw;
  }
}
