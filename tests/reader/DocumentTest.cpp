// The document: counts, reads by position and number, loading and reloading.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "EXIF_Intf.h"
#include "ExifWriter.h"
#include "JpegMaker.h"

namespace {

namespace fs = std::filesystem;

// A file in a fresh temporary folder, removed with the folder.
class TTempDir {
 public:
  TTempDir() {
    std::string Pattern = (fs::temp_directory_path() / "lumentag-XXXXXX").string();
    FPath = ::mkdtemp(Pattern.data());
  }
  ~TTempDir() { fs::remove_all(FPath); }
  std::string Write(const std::string& Name, const TBytes& Bytes) const {
    const std::string File = (fs::path(FPath) / Name).string();
    std::ofstream(File, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()),
                                                 static_cast<std::streamsize>(Bytes.size()));
    return File;
  }
  std::string Path(const std::string& Name) const { return (fs::path(FPath) / Name).string(); }

 private:
  std::string FPath;
};

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

// A file that exists but cannot be read raises its error and leaves the
// document exactly as it was.
TEST(Document, UnreadableFileKeepsThePreviousOne) {
  TTempDir Dir;
  const std::string With = Dir.Write("with.jpg", PhotoWithThumbnail());
  std::vector<std::string> Unreadable = {"/proc/self/mem"};  // exists, reads fail even for root
  if (::geteuid() != 0) {
    const std::string Locked = Dir.Write("locked.jpg", PhotoWithoutThumbnail());
    fs::permissions(Locked, fs::perms::none);
    Unreadable.push_back(Locked);
  }
  for (const std::string& File : Unreadable) {
    TEXIF Doc;
    Doc.LoadFromFile(With);
    try {
      Doc.LoadFromFile(File);
      ADD_FAILURE() << File << " loaded";
    } catch (const std::runtime_error& Error) {
      EXPECT_NE(std::string(Error.what()).find(File), std::string::npos) << Error.what();
    }
    EXPECT_EQ(Doc.FileName(), With);
    EXPECT_EQ(Doc.TIFFCount(), 5);
    EXPECT_EQ(Doc.Comment(), "hello");
    EXPECT_NE(Doc.Thumbnail(), nullptr);
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
