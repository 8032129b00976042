// WebP files: a RIFF container of form type "WEBP", whose chunks are a
// four-letter type, a 32-bit little-endian size and the data, padded to an
// even length. EXIF is the "EXIF" chunk (a TIFF block, after "Exif\0\0" in
// files of some writers), XMP the "XMP " chunk. Layout: Google's WebP
// container format document (RIFF, VP8X and the metadata chunks).
#include <algorithm>
#include <cstring>
#include <string_view>

#include "ByteOrder.h"
#include "Containers.h"

namespace {

// Real files have a handful of chunks; an animation one per frame.
constexpr int MaxChunks = 1 << 20;

}  // namespace

bool IsWebp(std::span<const uint8_t> First) {
  return First.size() >= 12 && std::memcmp(First.data(), "RIFF", 4) == 0 &&
         std::memcmp(First.data() + 8, "WEBP", 4) == 0;
}

void ReadWebpLayout(TMemoryStream& File, TMetadataLayout& Layout) {
  Layout.Picture.Format = TPictureFormat::WebP;
  uint8_t Riff[12];
  File.Seek(0);
  if (!File.ReadExact(Riff)) return;
  // The RIFF size counts from after itself; the chunks end there or at the
  // end of the file, whichever comes first.
  const int64_t End = std::min<int64_t>(File.Size(), int64_t{8} + Little32(Riff + 4));
  for (int Count = 0; Count < MaxChunks && File.Position() + 8 <= End; ++Count) {
    uint8_t Header[8];
    if (!File.ReadExact(Header)) return;
    const std::string_view Type(reinterpret_cast<const char*>(Header), 4);
    const int64_t Data = File.Position();
    const int64_t Size = std::min<int64_t>(Little32(Header + 4), End - Data);
    if (Type == "EXIF" && Layout.TiffBlocks.empty()) {
      uint8_t Head[6] = {};
      File.Read(Head);
      const int64_t Start = Data + (std::memcmp(Head, "Exif\0\0", 6) == 0 ? 6 : 0);
      Layout.TiffBlocks.push_back({{Start, Data + Size - Start}, TFirstDirectory::IFD0, TTiffRules::TiffFile, {}});
    } else if (Type == "XMP ") {
      Layout.XmpPackets.push_back({{Data, Size}, {}});
    }
    File.Seek(Data + Little32(Header + 4) + (Little32(Header + 4) & 1));
  }
}
