// Fujifilm RAF files: a header of the signature "FUJIFILMCCD-RAW ", a format
// version, the camera's name and directory positions, then the JPEG picture
// the camera embedded, the CFA header and the raw data. The JPEG's position
// and length are the big-endian 32-bit numbers at 84 and 88. That JPEG holds
// the file's EXIF data, its thumbnail and comment, and is its picture; its
// offsets count from its own start. Layout: ExifTool's FujiFilm tags
// documentation (the RAF header and its embedded JPEG).
#include <algorithm>
#include <cstring>
#include <string_view>

#include "ByteOrder.h"
#include "Containers.h"

namespace {

constexpr std::string_view RafSignature = "FUJIFILMCCD-RAW ";
constexpr int64_t JpegPlace = 84;  // its position, then its length

}  // namespace

bool IsRaf(std::span<const uint8_t> First) {
  return First.size() >= RafSignature.size() &&
         std::memcmp(First.data(), RafSignature.data(), RafSignature.size()) == 0;
}

// A JPEG that overlaps the header, lies outside the file or is empty leaves
// the file without a picture.
void ReadRafLayout(TMemoryStream& File, TMetadataLayout& Layout) {
  Layout.Picture.FromPreviews = true;
  uint8_t Place[8];
  File.Seek(JpegPlace);
  if (!File.ReadExact(Place)) return;
  const int64_t Position = Big32(Place), Length = Big32(Place + 4);
  if (Position < JpegPlace + 8 || Position >= File.Size() || Length == 0) return;
  const TByteRange Jpeg{Position, std::min(Length, File.Size() - Position)};
  Layout.Picture.Previews.push_back(Jpeg);
  uint8_t Start[2];
  File.Seek(Jpeg.Position);
  if (File.ReadExact(Start) && Start[0] == 0xFF && Start[1] == 0xD8) ReadJpegSegments(File, Jpeg, Layout);
}
