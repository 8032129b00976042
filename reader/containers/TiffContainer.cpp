// TIFF files: the whole file is one TIFF block, read from its header at 0.
// Cameras' raw files of TIFF structure are TIFF files too, some with a
// header of their own in place of 42: "IIRO", "MMOR" and "IIRS" (Olympus
// ORF), "IIU\0" (Panasonic RW2, RWL). Their picture is the largest JPEG
// preview the camera stored (see FindTiffPreviews); a TIFF file with none is
// handed to the JPEG decoder whole, as any file the reader cannot show.
// Headers: ExifTool's Olympus ORF and PanasonicRaw documentation.
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "Containers.h"

namespace {

// The first four bytes of raw files whose header is not TIFF's own.
constexpr std::array<std::string_view, 4> RawHeaders{"IIRO", "MMOR", "IIRS", std::string_view("IIU\0", 4)};

bool HasRawHeader(TMemoryStream& File) {
  uint8_t Head[4];
  File.Seek(0);
  if (!File.ReadExact(Head)) return false;
  return std::any_of(RawHeaders.begin(), RawHeaders.end(),
                     [&](std::string_view Header) { return std::memcmp(Head, Header.data(), 4) == 0; });
}

}  // namespace

bool IsTiff(std::span<const uint8_t> First) {
  return First.size() >= 2 && ((First[0] == 'I' && First[1] == 'I') || (First[0] == 'M' && First[1] == 'M'));
}

void ReadTiffLayout(TMemoryStream& File, TMetadataLayout& Layout) {
  Layout.TiffBlocks.push_back({{0, File.Size()}, TFirstDirectory::IFD0, TTiffRules::TiffFile, {}});
  Layout.Picture.Previews = FindTiffPreviews(File, 0);
  Layout.Picture.FromPreviews = !Layout.Picture.Previews.empty() || HasRawHeader(File);
}
