// What files built to make reading costly cost: a JPEG start followed by
// 40 GB of zeros (a sparse file), a 16 MiB TIFF whose values straddle the
// edges of 192 blocks in turn, and the window's Thumbnail tab of a small file
// whose IFD 1 points at a 134-megapixel picture.
#include "BoundedCostBench.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <iomanip>
#include <iostream>

#include "ChildProcess.h"
#include "EXIF_Intf.h"
#include "ExifWriter.h"
#include "JpegMaker.h"
#include "TempDir.h"

namespace {

// Seconds of one load of File, the cheapest of Runs.
double LoadSeconds(const std::string& File, int Runs) {
  double Best = 1e9;
  for (int Run = 0; Run < Runs; ++Run) {
    const auto Start = std::chrono::steady_clock::now();
    TEXIF Document;
    Document.LoadFromFile(File);
    Best = std::min(Best, std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count());
  }
  return Best;
}

// A JPEG start and 40 GB of zeros, which take no room on the disk.
std::string SparseJpeg(const TTempDir& Dir) {
  const std::string File = Dir.Write("sparse.jpg", {0xFF, 0xD8});
  const int Descriptor = ::open(File.c_str(), O_WRONLY);
  const uint8_t Last = 0;
  if (Descriptor < 0 || ::pwrite(Descriptor, &Last, 1, int64_t{40} << 30) != 1) std::cerr << "no sparse file\n";
  if (Descriptor >= 0) ::close(Descriptor);
  return File;
}

TBytes ThrashingTiff() {
  constexpr uint32_t Block = 64 << 10, Blocks = 192, Entries = 65535;
  TBytes File = Concat({BytesOf("II"), U16(42), U32(8), U16(Entries)});
  for (uint32_t Entry = 0; Entry < Entries; ++Entry)
    for (const TBytes& Part : {U16(0x010E), U16(ftAscii), U32(8), U32((1 + Entry % Blocks) * Block - 4)})
      File.insert(File.end(), Part.begin(), Part.end());
  File.resize(size_t{16} << 20, 'x');
  return File;
}

TBytes HugeThumbnailTiff() {
  const TBytes Thumbnail = EndOfBandJpeg(11585, 11585, true, 1);
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->BlobAt(0x0201, ftLong, 1, Thumbnail).Long(0x0202, {static_cast<uint32_t>(Thumbnail.size())});
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon");
  Ifd0.Next = Ifd1;
  return TiffBlock(Ifd0);
}

}  // namespace

void PrintBoundedCosts() {
  const TTempDir Dir;
  std::cout << "\nBounded costs (target):\n" << std::left << std::fixed << std::setprecision(3);
  std::cout << std::setw(50) << "load of a JPEG start and 40 GB of zeros (< 0.1 s)" << LoadSeconds(SparseJpeg(Dir), 5)
            << " s\n";
  std::cout << std::setw(50) << "load of the 16 MiB thrashing TIFF (< 0.2 s)"
            << LoadSeconds(Dir.Write("thrash.tif", ThrashingTiff()), 5) << " s\n";
  const std::string Huge = Dir.Write("huge-thumbnail.tif", HugeThumbnailTiff());
  const std::optional<TChildCost> Tab = RunChild({"/proc/self/exe", "--child", "thumbnail-tab", Huge});
  if (Tab && Tab->Status == 0)
    std::cout << std::setw(50) << "Thumbnail tab, 134 MP thumbnail (< 300 MB)" << std::setprecision(0) << Tab->PeakMB
              << " MB, " << std::setprecision(3) << Tab->CpuSeconds << " s of CPU\n";
  else
    std::cout << "Thumbnail tab, 134 MP thumbnail: the child failed\n";
}
