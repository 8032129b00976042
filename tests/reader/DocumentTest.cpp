// The document: counts, reads by position and number, loading and reloading.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "DocumentInternals.h"
#include "EXIF_Intf.h"
#include "FileBlocks.h"
#include "ContainerWriter.h"
#include "ExifWriter.h"
#include "JpegMaker.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

// A JPEG photo with orientation 6, a comment and a 16 x 8 thumbnail.
TBytes PhotoWithThumbnail() {
  const TBytes Small = MakeJpeg(16, 8);
  auto Ifd1 = std::make_shared<TIfd>();
  Ifd1->BlobAt(0x0201, ftLong, 1, Small).Long(0x0202, {uint32_t(Small.size())});
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Ascii(0x0110, "Model").Short(0x0112, {6}).Short(0x0128, {2})
      .Rational(0x011A, {{72, 1}});
  Ifd0.Next = Ifd1;
  return JpegWith({ExifSegment(TiffBlock(Ifd0)), CommentSegment("hello")});
}

TBytes PhotoWithoutThumbnail() {
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "NIKON CORPORATION");
  return JpegWith({ExifSegment(TiffBlock(Ifd0))});
}

TEST(Document, NewDocumentIsEmpty) {
  TEXIF Doc;
  EXPECT_EQ(Doc.TIFFCount() + Doc.EXIFCount() + Doc.INTEROPCount() + Doc.MakerNoteCount() +
                Doc.EXIF_IFD1Count() + Doc.GPSCount(),
            0);
  EXPECT_EQ(Doc.Comment(), "");
  EXPECT_EQ(Doc.FileName(), "");
  EXPECT_EQ(Doc.MakerNoteFormat(), mnfUnknown);
  EXPECT_TRUE(Doc.TIFFTag(0).IsEmpty());
  EXPECT_TRUE(Doc.FindTIFFTag(0x0112).IsEmpty());
}

TEST(Document, ReadsByPositionAndByNumber) {
  TEXIF Doc;
  LoadBytes(Doc, PhotoWithThumbnail());
  ASSERT_EQ(Doc.TIFFCount(), 5);
  EXPECT_EQ(Doc.TIFFTag(4).Header.Name, "X Resolution");
  const TEXIFTag Past = Doc.TIFFTag(5);
  EXPECT_TRUE(Past.IsEmpty());
  EXPECT_EQ(Past.Header.Tag, 0);
  EXPECT_EQ(Past.Typ, 0);
  EXPECT_EQ(Doc.TIFFTag(65535).Header.Name, "");
  const TEXIFTag Orientation = Doc.FindTIFFTag(0x0112);
  EXPECT_EQ(Orientation.Header.Name, "Orientation");
  EXPECT_EQ(Orientation.Header.Units, "");
  EXPECT_EQ(Orientation.Header.Dim, 1);
  EXPECT_EQ(Orientation.NumericValue[0], 6);
  EXPECT_TRUE(Doc.FindTIFFTag(0x0213).IsEmpty());
  EXPECT_EQ(Doc.FindIFD1Tag(0x0201).Header.Name, "Jpeg IF Offset");
  EXPECT_EQ(Doc.MakerNoteFormat(), mnfCanon);
  EXPECT_EQ(Doc.Comment(), "hello");
}

TEST(Document, LoadFromFileAndReloads) {
  TTempDir Dir;
  const std::string With = Dir.Write("with.jpg", PhotoWithThumbnail());
  const std::string Without = Dir.Write("without.jpg", PhotoWithoutThumbnail());
  TEXIF Doc;
  Doc.LoadFromFile(With);
  EXPECT_EQ(Doc.FileName(), With);
  ASSERT_NE(Doc.Thumbnail(), nullptr);
  EXPECT_EQ(Doc.Thumbnail()->Width(), 16);

  // A missing file changes nothing.
  Doc.LoadFromFile(Dir.Path("missing.jpg"));
  EXPECT_EQ(Doc.FileName(), With);
  EXPECT_EQ(Doc.TIFFCount(), 5);
  EXPECT_EQ(Doc.Comment(), "hello");
  EXPECT_NE(Doc.Thumbnail(), nullptr);

  // A folder is not a file either.
  Doc.LoadFromFile(Dir.Path(""));
  EXPECT_EQ(Doc.FileName(), With);

  Doc.LoadFromFile(Without);
  EXPECT_EQ(Doc.FileName(), Without);
  EXPECT_EQ(Doc.Thumbnail(), nullptr);
  EXPECT_EQ(Doc.Comment(), "");
  EXPECT_EQ(Doc.TIFFCount(), 1);
  EXPECT_EQ(Doc.MakerNoteFormat(), mnfNikon);
}

// A file that exists but cannot be read, or is no regular file, raises its
// error at once and leaves the document exactly as it was.
TEST(Document, UnreadableFileKeepsThePreviousOne) {
  TTempDir Dir;
  const std::string With = Dir.Write("with.jpg", PhotoWithThumbnail());
  const std::string Fifo = Dir.Path("fifo.jpg"), Socket = Dir.Path("socket.jpg");
  ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);  // no writer: reading it would block for ever
  const int Listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  Socket.copy(Address.sun_path, sizeof Address.sun_path - 1);
  ASSERT_EQ(::bind(Listener, reinterpret_cast<const sockaddr*>(&Address), sizeof Address), 0);
  const auto NotRegular = [](const std::string& File) { return "Cannot open file \"" + File + "\". Not a regular file"; };
  std::vector<std::pair<std::string, std::string>> Unreadable = {
      {"/proc/self/mem", "Cannot read file \"/proc/self/mem\". Input/output error"},  // even for root
      {"/dev/zero", NotRegular("/dev/zero")},  // would never end
      {Fifo, NotRegular(Fifo)},
      {Socket, NotRegular(Socket)},
  };
  if (::geteuid() != 0) {
    const std::string Locked = Dir.Write("locked.jpg", PhotoWithoutThumbnail());
    fs::permissions(Locked, fs::perms::none);
    Unreadable.push_back({Locked, "Cannot open file \"" + Locked + "\". Permission denied"});
  }
  for (const auto& [File, Message] : Unreadable) {
    TEXIF Doc;
    Doc.LoadFromFile(With);
    try {
      Doc.LoadFromFile(File);
      ADD_FAILURE() << File << " loaded";
    } catch (const std::runtime_error& Error) {
      EXPECT_EQ(Error.what(), Message);
    }
    EXPECT_EQ(Doc.FileName(), With);
    EXPECT_EQ(Doc.TIFFCount(), 5);
    EXPECT_EQ(Doc.Comment(), "hello");
    EXPECT_NE(Doc.Thumbnail(), nullptr);
  }
  ::close(Listener);
}

// A read that fails later in the parse, here because the file became shorter
// after it was opened, ends the load; the document stays as it was.
TEST(Document, ReadErrorDuringTheParseKeepsThePreviousOne) {
  TTempDir Dir;
  const std::string With = Dir.Write("with.jpg", PhotoWithThumbnail());
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon");
  const std::string Late = Dir.Write("late.tif", TiffBlock(Ifd0, TByteOrder::Little, 100000));  // IFD 0 in the second block
  TEXIF Doc;
  Doc.LoadFromFile(With);
  std::unique_ptr<TFileBlocks> Blocks = TFileBlocks::Open(Late);
  fs::resize_file(Late, 70000);
  EXPECT_THROW(TEXIFInternals::LoadFrom(Doc, TMemoryStream(std::move(Blocks)), Late), EFileReadError);
  EXPECT_EQ(Doc.FileName(), With);
  EXPECT_EQ(Doc.TIFFCount(), 5);
  EXPECT_NE(Doc.Thumbnail(), nullptr);
}

// A HEIF file of a picture item of PictureBytes, then its Exif item.
TBytes HeifWithExifLast(const TBytes& Tiff, size_t PictureBytes) {
  THeifLayout Layout;
  Layout.Items = {{.Id = 1, .Type = "hvc1", .Data = TBytes(PictureBytes, 0x55)},
                  {.Id = 2, .Type = "Exif", .Data = HeifExifItemData(Tiff), .Describes = 1}};
  return HeifFile(Layout);
}

// Raw files as cameras lay them out, metadata and previews first, then
// RawBytes of raw data: a NEF (EXIF directory, a JPEG preview in one SubIFD,
// the raw data in another), a CR3 and a RAF.
std::vector<std::pair<const char*, TBytes>> RawFiles(size_t RawBytes) {
  const TBytes Preview = MakeJpeg(160, 120), Raw(RawBytes, 0x5A);
  auto Exif = std::make_shared<TIfd>(), PreviewIfd = std::make_shared<TIfd>(), RawIfd = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{1, 125}});
  PreviewIfd->Short(0x0103, {6}).BlobAt(0x0201, ftLong, 1, Preview).Long(0x0202, {uint32_t(Preview.size())});
  RawIfd->Short(0x0103, {1}).BlobAt(0x0111, ftLong, 1, Raw).Long(0x0117, {uint32_t(RawBytes)});
  TIfd Nef;
  Nef.Ascii(0x010F, "NIKON CORPORATION").SubIfd(0x8769, Exif).SubIfds(0x014A, {PreviewIfd, RawIfd});
  const TBytes Exif0 = TiffBlock(TIfd().SubIfd(0x8769, Exif));
  return {{"NEF", TiffBlock(Nef)},
          {"CR3", Cr3File({.Cmt1 = Exif0, .Cmt2 = TiffBlock(*Exif), .Preview = Preview, .RawData = Raw})},
          {"RAF", RafFile(InsertAfterSoi(Preview, {ExifSegment(Exif0)}), Raw)}};
}

// A load reads the blocks the metadata lies in, and no other.
TEST(Document, ReadsOnlyTheBlocksItNeeds) {
  TTempDir Dir;
  const TBytes Noise = MakeJpeg(600, 400, [](int X, int Y) { return uint32_t(X * 7919 ^ Y * 104729) * 2654435761u; });
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon");
  struct TCase {
    const char* What;
    TBytes File;
    uint64_t Blocks;
  };
  const TCase Cases[] = {
      {"a JPEG with its EXIF data in the first block", InsertAfterSoi(Noise, {ExifSegment(TiffBlock(Ifd0))}), 1},
      {"a JPEG without EXIF data", Noise, 1},
      {"a TIFF with IFD 0 near its end", TiffBlock(Ifd0, TByteOrder::Little, 300000), 2},
      {"a 3 MB HEIF whose Exif item follows the picture", HeifWithExifLast(TiffBlock(Ifd0), 3 << 20), 2},
      {"a PNG whose eXIf chunk follows the picture",
       PngFile({PngHeader(), PngChunk("IDAT", TBytes(3 << 20, 0)), PngChunk("eXIf", TiffBlock(Ifd0)), PngEnd()}), 2},
      {"a WebP whose EXIF chunk follows the picture",
       WebpFile({RiffChunk("VP8 ", TBytes(3 << 20, 0)), RiffChunk("EXIF", TiffBlock(Ifd0))}), 2},
  };
  std::vector<TCase> All(std::begin(Cases), std::end(Cases));
  for (auto& [Kind, File] : RawFiles(3 << 20)) All.push_back({Kind, std::move(File), 1});
  for (const TCase& Case : All) {
    ASSERT_GT(Case.File.size(), 150000u) << Case.What;
    const std::string File = Dir.Write("file", Case.File);
    TEXIF Doc;
    const uint64_t Before = TFileBlocks::BlocksRead();
    Doc.LoadFromFile(File);
    EXPECT_EQ(TFileBlocks::BlocksRead() - Before, Case.Blocks) << Case.What;
  }
}

// A 16 MiB TIFF whose 65535 texts each straddle the edge of another of 192
// blocks in turn, more than are held: the load reads at most twice the file's
// size plus 1 MiB (whole blocks, then small chunks), not a block per value
// (131070 reads of 64 KiB), and gives the rows of the same bytes in memory.
TEST(Document, ValuesAcrossManyBlocksCostAtMostTwiceTheFile) {
  constexpr uint32_t Block = 64 << 10, Blocks = 192, Entries = 65535;
  TBytes File = Concat({BytesOf("II"), U16(42), U32(8), U16(Entries)});
  for (uint32_t Entry = 0; Entry < Entries; ++Entry) {
    const uint32_t Edge = (1 + Entry % Blocks) * Block;
    for (const TBytes& Part : {U16(0x010E), U16(ftAscii), U32(8), U32(Edge - 4)})
      File.insert(File.end(), Part.begin(), Part.end());
  }
  File.resize(size_t{16} << 20, 'x');
  TTempDir Dir;
  const std::string Name = Dir.Write("thrash.tif", File);
  TEXIF FromFile, FromMemory;
  const uint64_t Before = TFileBlocks::BlocksRead();
  FromFile.LoadFromFile(Name);
  const uint64_t Reads = TFileBlocks::BlocksRead() - Before;
  LoadBytes(FromMemory, File);
  EXPECT_EQ(FromFile.TIFFCount(), static_cast<int32_t>(Entries));
  EXPECT_EQ(FromFile.TIFFTag(Entries - 1).StringValue, "xxxxxxxx");
  // Whole blocks worth the file and 1 MiB, then the directory's chunks once
  // and the chunks on both sides of each edge once: not two reads per value.
  const uint64_t DirectoryChunks = Entries * 12 / TFileBlocks::ChunkSize + 1;
  EXPECT_LE(Reads, (File.size() + TFileBlocks::MaxHeldBytes) / TFileBlocks::DefaultBlockSize + DirectoryChunks +
                       2 * Blocks);
  for (uint16_t Index = 0; Index < Entries; Index += 997)
    EXPECT_EQ(FromFile.TIFFTag(Index).StringValue, FromMemory.TIFFTag(Index).StringValue);
}

// Files of the kernel say they hold 0 or 4096 bytes and hold fewer: what the
// first read finds is their size, not a file that became shorter.
TEST(Document, KernelFilesOfAGuessedSize) {
  for (const char* File : {"/proc/self/status", "/sys/power/state", "/sys/kernel/mm/transparent_hugepage/enabled"}) {
    if (!fs::exists(File)) continue;
    TEXIF Doc;
    EXPECT_NO_THROW(Doc.LoadExistingFile(File)) << File;
    EXPECT_EQ(Doc.FileFormat(), "unknown") << File;
  }
}

TEST(Document, LoadFromStreamRewinds) {
  const TBytes Photo = PhotoWithThumbnail();
  std::stringstream Stream(std::string(Photo.begin(), Photo.end()));
  Stream.seekg(7);
  TEXIF Doc;
  Doc.LoadFromStream(Stream);
  EXPECT_EQ(Doc.FileName(), "");
  EXPECT_EQ(Doc.TIFFCount(), 5);
  EXPECT_EQ(Stream.tellg(), 0);
}

}  // namespace
