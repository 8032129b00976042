// TIFF files: the whole file is one TIFF block, read from its header at 0.
#include "Containers.h"

bool IsTiff(std::span<const uint8_t> First) {
  return First.size() >= 2 && ((First[0] == 'I' && First[1] == 'I') || (First[0] == 'M' && First[1] == 'M'));
}

void ReadTiffLayout(TMemoryStream& File, TMetadataLayout& Layout) {
  Layout.TiffBlocks.push_back({{0, File.Size()}, TFirstDirectory::IFD0, TTiffRules::TiffFile, {}});
}
