// Every hostile file loads without crash, hang or leak (the sanitizer build
// and valgrind watch the last two), and keeps what could be read.
#include <gtest/gtest.h>

#include <sstream>

#include "Corpus.h"
#include "DocumentInternals.h"
#include "DumpFormat.h"
#include "EXIF_Intf.h"
#include "FileBlocks.h"
#include "HostileFiles.h"
#include "TempDir.h"

namespace {

// Everything a viewer would do with the document: every row of every list.
void UseEverything(const TEXIF& Doc) {
  for (const TTabView& Tab : TabViews) ForEachRow(Doc, Tab, [](std::string_view, std::string_view, std::string_view) {});
}

// Decodes a JPEG picture as the viewer would, at full size, or at 1/8 when
// large; the code of the JPEG error it gives, 0 when it decodes or is too
// large to decode at all.
int DecodePicture(const TByteBuffer& Bytes) {
  TJPEGImage Image;
  try {
    Image.LoadFromBytes(Bytes);
    Image.CheckDecodable();
    const int Eighths = uint64_t(Image.Width()) * uint64_t(Image.Height()) <= (1u << 22) ? 8 : 1;
    const TPictureSize Size = ScaledSize(Image.Size(), Eighths);
    std::vector<uint8_t> Pixels(size_t(Size.Width) * size_t(Size.Height) * 4);
    Image.DecodeTo(TPixelLayout::BGRX32, Pixels, size_t(Size.Width) * 4, Eighths);
  } catch (const EJPEGError& Error) {
    return Error.Code();
  } catch (const EJPEGTooLarge&) {
  }
  return 0;
}

TEST(Hostile, EveryFileLoadsAndKeepsWhatCanBeRead) {
  for (const THostileFile& File : HostileFiles()) {
    SCOPED_TRACE(File.Name + ": " + File.Attack);
    TEXIF Doc;
    ASSERT_NO_THROW(LoadBytes(Doc, File.Bytes));
    EXPECT_TRUE(File.HasKept(Doc)) << "keeps " << File.Keeps;
    UseEverything(Doc);
    if (Doc.Thumbnail()) DecodePicture(Doc.Thumbnail()->Bytes());
    const int Code = DecodePicture(TByteBuffer(File.Bytes.begin(), File.Bytes.end()));
    EXPECT_EQ(Code == TJPEGImage::ImplausibleDataError, File.PictureRefused) << "JPEG error #" << Code;
  }
}

// Whether the bytes are read from the disk in blocks of 64 KiB or of 4 KiB
// (four of them held),
// or handed over whole, a file shows the same rows.
TEST(Hostile, RowsAreTheSameFromDiskAndFromMemory) {
  TTempDir Dir;
  std::vector<std::string> Files = CorpusFiles();
  for (const THostileFile& File : HostileFiles()) Files.push_back(Dir.Write(File.Name, File.Bytes));
  const auto Rows = [](const TEXIF& Doc) {
    std::ostringstream Out;
    WriteDumpText(Out, {"", Doc});
    return Out.str();
  };
  for (const std::string& File : Files) {
    TEXIF FromMemory, FromDisk, InSmallBlocks;
    FromMemory.LoadFromBytes(ReadWholeFile(File));
    FromDisk.LoadFromFile(File);
    TEXIFInternals::LoadFrom(InSmallBlocks, TMemoryStream(TFileBlocks::Open(File, 4096, 4 * 4096)));
    const std::string Expected = Rows(FromMemory);
    EXPECT_EQ(Rows(FromDisk), Expected) << File;
    EXPECT_EQ(Rows(InSmallBlocks), Expected) << File;
  }
}

// Every prefix of a file rich in structure loads: no read ever runs past the
// data, whichever byte the file ends at.
TEST(Hostile, EveryPrefixOfARichFileLoads) {
  for (const THostileFile& File : HostileFiles()) {
    if (File.Bytes.size() > 4096) continue;
    for (size_t Length = 0; Length < File.Bytes.size(); ++Length) {
      TEXIF Doc;
      ASSERT_NO_THROW(LoadBytes(Doc, TBytes(File.Bytes.begin(), File.Bytes.begin() + std::ptrdiff_t(Length))))
          << File.Name << " cut at " << Length;
      UseEverything(Doc);
    }
  }
}

}  // namespace
