// The kinds of file the reader knows, tried in order on a file's first bytes.
#include "Containers.h"

namespace {

constexpr std::array<TContainerKind, 6> ContainerKinds{{
    {"JPEG", IsJpeg, ReadJpegLayout},
    {"TIFF", IsTiff, ReadTiffLayout},
    {"PNG", IsPng, ReadPngLayout},
    {"WebP", IsWebp, ReadWebpLayout},
    {"HEIF", IsIsoMedia, ReadIsoMediaLayout},  // the reader tells HEIF, AVIF and CR3 by the brands
    {"RAF", IsRaf, ReadRafLayout},
}};

}  // namespace

TMetadataLayout ReadLayout(TMemoryStream& File) {
  uint8_t Bytes[RecognisedBytes] = {};
  File.Seek(0);
  const std::span<const uint8_t> First(Bytes, File.Read(Bytes));
  TMetadataLayout Layout;
  for (const TContainerKind& Kind : ContainerKinds) {
    if (!Kind.Recognises(First)) continue;
    Layout.Format = Kind.Format;
    Kind.Read(File, Layout);
    break;
  }
  return Layout;
}
