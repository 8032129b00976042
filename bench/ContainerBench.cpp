// What reading EXIF out of other containers costs: the block reads of a
// 3 MB HEIF file's metadata, and lumentag-dump on the corpus's iPhone HEIC
// against the same EXIF block carried by a JPEG file.
#include "ContainerBench.h"

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>

#include "ChildProcess.h"
#include "ContainerWriter.h"
#include "Containers.h"
#include "Corpus.h"
#include "EXIF_Intf.h"
#include "FileBlocks.h"
#include "JpegMaker.h"
#include "TempDir.h"

namespace {

// The TIFF block of a file's EXIF data, as the reader finds it.
TBytes ExifBlockOf(const std::string& File) {
  TMemoryStream Stream(TFileBlocks::Open(File));
  const TMetadataLayout Layout = ReadLayout(Stream);
  if (Layout.TiffBlocks.empty() || Layout.TiffBlocks[0].Decoded) return {};
  const TByteBuffer Bytes = Stream.Copy(Layout.TiffBlocks[0].Range.Position, Layout.TiffBlocks[0].Range.Length);
  return TBytes(Bytes.begin(), Bytes.end());
}

uint64_t BlocksOfLoad(const std::string& File) {
  const uint64_t Before = TFileBlocks::BlocksRead();
  TEXIF Document;
  Document.LoadFromFile(File);
  return TFileBlocks::BlocksRead() - Before;
}

}  // namespace

// Raw files of 30 MB as cameras lay them out: the metadata and previews
// first, the raw data after.
void PrintRawCosts() {
  const TTempDir Dir;
  const TBytes Preview = MakeJpeg(1620, 1080), RawData(size_t{30} << 20, 0x5A);
  auto Exif = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{1, 125}}).Short(0x8827, {400});
  auto PreviewIfd = std::make_shared<TIfd>(), RawIfd = std::make_shared<TIfd>();
  PreviewIfd->Short(0x0103, {6}).BlobAt(0x0201, ftLong, 1, Preview).Long(0x0202, {uint32_t(Preview.size())});
  RawIfd->Short(0x0103, {7}).BlobAt(0x0111, ftLong, 1, RawData).Long(0x0117, {uint32_t(RawData.size())});
  TIfd Nef, Canon, Fuji;
  Nef.Ascii(0x010F, "NIKON CORPORATION").SubIfd(0x8769, Exif).SubIfds(0x014A, {PreviewIfd, RawIfd});
  Canon.Ascii(0x010F, "Canon");
  Fuji.Ascii(0x010F, "FUJIFILM").SubIfd(0x8769, Exif);
  const std::pair<const char*, TBytes> Files[] = {
      {"NEF", TiffBlock(Nef)},
      {"CR3", Cr3File({.Cmt1 = TiffBlock(Canon), .Cmt2 = TiffBlock(*Exif), .Thumbnail = MakeJpeg(160, 120),
                       .Preview = Preview, .RawData = RawData})},
      {"RAF", RafFile(InsertAfterSoi(Preview, {ExifSegment(TiffBlock(Fuji))}), RawData)},
  };
  std::cout << "\nRaw files (goal: at most 3 block reads):\n";
  for (const auto& [Kind, Bytes] : Files)
    std::cout << std::left << std::setw(50) << (std::string("block reads, metadata of a 30 MB ") + Kind)
              << BlocksOfLoad(Dir.Write(std::string("raw.") + Kind, Bytes)) << '\n';
}

void PrintContainerCosts() {
  PrintRawCosts();
  const std::string Heic = CorpusFile("es-IMG_5195.HEIC");
  const TBytes Exif = ExifBlockOf(Heic);
  if (Exif.empty()) {
    std::cout << "(no es-IMG_5195.HEIC in the corpus: container costs not measured)\n";
    return;
  }
  const TTempDir Dir;
  THeifLayout Layout;
  Layout.Items = {{.Id = 1, .Type = "hvc1", .Data = TBytes(size_t{3} << 20, 0x55)},
                  {.Id = 2, .Type = "Exif", .Data = HeifExifItemData(Exif), .Describes = 1}};
  const std::string Heif3MB = Dir.Write("3MB.heic", HeifFile(Layout));
  const std::string Jpeg = Dir.Write("same-exif.jpg", InsertAfterSoi(MakeJpeg(64, 48), {ExifSegment(Exif)}));
  std::cout << "\nContainers:\n"
            << std::left << std::setw(50) << "block reads, metadata of a 3 MB HEIF" << BlocksOfLoad(Heif3MB) << '\n'
            << std::setw(50) << "block reads, metadata of es-IMG_5195.HEIC" << BlocksOfLoad(Heic) << '\n';
  const std::optional<TChildCost> OnHeic = CheapestRun({LUMENTAG_DUMP, Heic}, 20);
  const std::optional<TChildCost> OnJpeg = CheapestRun({LUMENTAG_DUMP, Jpeg}, 20);
  if (OnHeic && OnJpeg && OnJpeg->CpuSeconds > 0)
    std::cout << std::setw(50) << "lumentag-dump CPU, HEIC / JPEG of the same EXIF" << std::fixed
              << std::setprecision(2) << OnHeic->CpuSeconds / OnJpeg->CpuSeconds << "   (" << OnHeic->CpuSeconds * 1e3
              << " ms / " << OnJpeg->CpuSeconds * 1e3 << " ms)\n";
}
