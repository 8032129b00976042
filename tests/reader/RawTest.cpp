// Cameras' raw files: their rows, and the JPEG preview the Image tab shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

#include "ContainerWriter.h"
#include "DumpFormat.h"
#include "JpegMaker.h"
#include "PictureSource.h"

namespace {

using namespace std::literals;

// What the dump prints of a file: its rows, thumbnail and comment.
std::string DumpOf(const TBytes& File) {
  TEXIF Doc;
  LoadBytes(Doc, File);
  std::ostringstream Out;
  WriteDumpText(Out, {"file", Doc});
  return Out.str();
}

// Rows of IFD 0, the EXIF directory and its Interoperability IFD, a Canon
// maker note and GPS, values at offsets included.
struct TDirectories {
  std::shared_ptr<TIfd> Ifd0 = std::make_shared<TIfd>(), Exif = std::make_shared<TIfd>(),
                        Note = std::make_shared<TIfd>(), Gps = std::make_shared<TIfd>();
  TDirectories() {
    auto Interop = std::make_shared<TIfd>();
    Interop->Ascii(0x0001, "R98");
    Ifd0->Ascii(0x010F, "Canon").Ascii(0x0110, "Canon EOS R5").Short(0x0112, {8});
    Exif->Rational(0x829A, {{1, 250}}).SubIfd(0xA005, Interop);
    Note->Ascii(0x0006, "Canon EOS R5 JPEG").Long(0x0008, {1234});
    Gps->Byte(0x0000, {2, 3, 0, 0}).Rational(0x0002, {{33, 1}, {51, 1}, {0, 1}});
  }
  // The same as one TIFF file; the note's offsets count from its header.
  TBytes AsTiff(TByteOrder Order) const {
    const auto Build = [&](size_t NoteAt) {
      TBytes NoteBytes = TiffBlock(*Note, Order, NoteAt - 8);
      NoteBytes.erase(NoteBytes.begin(), NoteBytes.begin() + static_cast<std::ptrdiff_t>(NoteAt));
      TIfd Whole = *Ifd0, WithNote = *Exif;
      WithNote.BlobAt(0x927C, ftUndefined, static_cast<uint32_t>(NoteBytes.size()), NoteBytes);
      Whole.SubIfd(0x8769, std::make_shared<TIfd>(WithNote)).SubIfd(0x8825, Gps);
      return std::pair{TiffBlock(Whole, Order), NoteBytes};
    };
    const auto [Probe, Note8] = Build(8);
    return Build(static_cast<size_t>(std::search(Probe.begin(), Probe.end(), Note8.begin(), Note8.end()) -
                                     Probe.begin()))
        .first;
  }
};

TBytes WithHeader(TBytes File, std::string_view Header) {
  std::copy(Header.begin(), Header.end(), File.begin());
  return File;
}

// The TIFF header variants give the rows of TIFF files; CR3's CMT1 to CMT4
// those of IFD 0, the EXIF directory, the Canon maker note (offsets from
// CMT3's own header) and GPS, and THMB the thumbnail; a RAF those of the
// JPEG it embeds, read as a JPEG file.
TEST(RawFiles, GiveTheirRows) {
  const TDirectories Dirs;
  for (const TByteOrder Order : BothOrders) {
    const TBytes Tiff = Dirs.AsTiff(Order);
    TCr3Layout Cr3{.Cmt1 = TiffBlock(*Dirs.Ifd0, Order), .Cmt2 = TiffBlock(*Dirs.Exif, Order),
                   .Cmt3 = TiffBlock(*Dirs.Note, Order, 20), .Cmt4 = TiffBlock(*Dirs.Gps, Order)};
    const TBytes Jpeg = InsertAfterSoi(MakeJpeg(40, 30), {CommentSegment("X-T2"), ExifSegment(Tiff)});
    struct TCase {
      std::string What;
      TBytes File;
      const TBytes& Same;
      std::string_view Format;
    };
    std::vector<TCase> Cases = {{"CR3", Cr3File(Cr3), Tiff, "CR3"}, {"RAF", RafFile(Jpeg), Jpeg, "RAF"}};
    for (std::string_view Header : {"IIRO"sv, "IIRS"sv, "IIU\0"sv, "MMOR"sv})
      if (Header[0] == OrderName(Order)[0])
        Cases.push_back({std::string(Header), WithHeader(Tiff, Header), Tiff, "TIFF"});
    for (const TCase& Case : Cases) {
      TEXIF Doc;
      LoadBytes(Doc, Case.File);
      EXPECT_EQ(DumpOf(Case.File), DumpOf(Case.Same)) << Case.What << ' ' << OrderName(Order);
      EXPECT_EQ(Doc.FileFormat(), Case.Format) << Case.What;
      EXPECT_EQ(Doc.MakerNoteCount(), 2) << Case.What;
    }
    Cr3.Thumbnail = MakeJpeg(16, 12);
    EXPECT_NE(DumpOf(Cr3File(Cr3)).find("[Thumbnail]\n16 x 12\n"), std::string::npos);
  }
}

// Pointers that a CR3's IFD 0 and EXIF directory hold lead nowhere: each
// directory comes from its own box, once.
TEST(RawFiles, Cr3DirectoriesAreReadOnce) {
  const TDirectories Dirs;
  TIfd Ifd0 = *Dirs.Ifd0, Exif = *Dirs.Exif;
  Ifd0.SubIfd(0x8769, Dirs.Exif).SubIfd(0x8825, Dirs.Gps);
  Ifd0.Next = Dirs.Ifd0;
  Exif.Raw(0x927C, ftUndefined, 64, 8);
  TEXIF Doc;
  LoadBytes(Doc, Cr3File({.Cmt1 = TiffBlock(Ifd0), .Cmt2 = TiffBlock(Exif)}));
  EXPECT_EQ(Doc.TIFFCount(), 3);
  EXPECT_EQ(Doc.EXIFCount(), 1);
  EXPECT_EQ(Doc.EXIF_IFD1Count() + Doc.GPSCount() + Doc.MakerNoteCount(), 0);
}

// An image directory holding a JPEG: in one strip of Compression 6 or 7,
// or by JPEGInterchangeFormat (0x0201).
std::shared_ptr<TIfd> Image(uint16_t Compression, const TBytes& Jpeg, uint16_t OffsetTag = 0x0111) {
  auto Directory = std::make_shared<TIfd>();
  const auto Length = static_cast<uint32_t>(Jpeg.size());
  Directory->Short(0x0103, {Compression}).BlobAt(OffsetTag, ftLong, 1, Jpeg);
  Directory->Long(OffsetTag == 0x0111 ? 0x0117 : 0x0202, {Length});
  return Directory;
}

// A TIFF raw file: IFD 0 of Orientation 6 with Ifd0's entries and SubIFDs,
// and IFD 1 holding a thumbnail larger than any preview (never one).
TBytes TiffRaw(TIfd Ifd0, std::vector<std::shared_ptr<TIfd>> SubIfds, TByteOrder Order = TByteOrder::Little) {
  Ifd0.Ascii(0x010F, "NIKON CORPORATION").Short(0x0112, {6}).SubIfds(0x014A, std::move(SubIfds));
  Ifd0.Next = Image(6, MakeJpeg(200, 150), 0x0201);
  return TiffBlock(Ifd0, Order);
}

// A file whose maker note starts with Header, the byte order and, for
// Olympus, a version; its directory, or the CameraSettings directory its
// one entry points at (Olympus), gives the start and length of the preview
// that ends the note. Offsets count from the note, or from the TIFF header
// when FromTiffHeader.
TBytes WithNotePreview(std::string_view Header, const TBytes& Preview, TByteOrder Order,
                       bool FromTiffHeader = false) {
  const bool Olympus = Header.starts_with("OLYMPUS");
  const auto Entry = [&](uint16_t Tag, uint16_t Type, uint32_t Value) {
    return Concat({U16(Tag, Order), U16(Type, Order), U32(1, Order), U32(Value, Order)});
  };
  return TiffWithMakerNote(Olympus ? "OLYMPUS" : "PENTAX", [&](uint32_t NoteAt) {
    const TBytes Head = Concat({BytesOf(Header), BytesOf(OrderName(Order)), Olympus ? U16(3, Order) : TBytes{}});
    const uint32_t Base = FromTiffHeader ? NoteAt : 0;
    const auto Settings = static_cast<uint32_t>(Head.size() + (Olympus ? 18 : 0));
    const uint32_t At = Settings + 30, Length = static_cast<uint32_t>(Preview.size());
    const TBytes Main = Olympus ? Concat({U16(1, Order), Entry(0x2020, 13, Settings), U32(0, Order)}) : TBytes{};
    const auto [StartTag, LengthTag] = Olympus ? std::pair{0x0101, 0x0102} : std::pair{0x0004, 0x0003};
    return Concat({Head, Main, U16(2, Order), Entry(uint16_t(StartTag), ftLong, Base + At),
                   Entry(uint16_t(LengthTag), ftLong, Length), U32(0, Order), Preview});
  }, Order);
}

// The Image tab shows the preview with most pixels, turned by IFD 0's
// Orientation; lossless and 12-bit JPEG data (raw sensor data) and IFD 1's
// thumbnail are not previews. A raw file without one says so; a broken
// preview, or a plain TIFF file, fails as a JPEG picture does.
TEST(RawFiles, ShowTheirLargestPreview) {
  const TBytes Small = MakeJpeg(64, 48), Large = MakeJpeg(96, 72), Wide = MakeJpeg(128, 40);
  const TBytes Lossless = FrameOnlyJpeg(0xC3, 14, 6000, 4000), TwelveBit = FrameOnlyJpeg(0xC1, 12, 6000, 4000);
  TBytes Cut = Small;
  Cut.resize(40);  // within its tables, before the frame header
  TIfd Plain, JpgFromRaw, Strip = *Image(6, Small);
  JpgFromRaw.BlobAt(0x002E, ftUndefined, static_cast<uint32_t>(Large.size()), Large);
  const std::string_view Olympus("OLYMPUS\0", 8), Pentax("PENTAX \0", 8), Aoc("AOC\0", 4);
  const std::string NoPreview = "No preview picture in this file", JpegError = "JPEG error #";
  const auto PastTheEnd = [](TBytes Raf) {
    Raf[84] = 0x7F;  // the JPEG's position
    return Raf;
  };
  const struct {
    const char* What;
    TBytes File;
    std::string Shown;  // the size, or the start of the error
  } Cases[] = {
      {"NEF: SubIFD JPEGs and lossless raw data",
       TiffRaw(Plain, {Image(6, Small, 0x0201), Image(7, Lossless), Image(6, Large)}), "72 x 96"},
      {"DNG: IFD 0 strip, 12-bit raw data", TiffRaw(Strip, {Image(7, TwelveBit)}), "48 x 64"},
      {"most pixels, not the widest", TiffRaw(Plain, {Image(7, Wide), Image(6, Large, 0x0201)}), "72 x 96"},
      {"big-endian", TiffRaw(Plain, {Image(6, Small), Image(6, Large)}, TByteOrder::Big), "72 x 96"},
      {"RW2: JpgFromRaw", WithHeader(TiffRaw(JpgFromRaw, {Image(7, Small)}), std::string_view("IIU\0", 4)),
       "72 x 96"},
      {"ORF: Olympus MMOR", WithHeader(WithNotePreview(Olympus, Large, TByteOrder::Big), "MMOR"), "96 x 72"},
      {"ORF: Olympus IIRO", WithHeader(WithNotePreview(Olympus, Small, TByteOrder::Little), "IIRO"), "64 x 48"},
      {"PEF: Pentax AOC", WithNotePreview(Aoc, Large, TByteOrder::Big, true), "96 x 72"},
      {"PEF: Pentax PENTAX", WithNotePreview(Pentax, Small, TByteOrder::Little), "64 x 48"},
      {"CR3: PRVW", Cr3File({.Cmt1 = TiffBlock(*TDirectories().Ifd0), .Preview = Large}), "72 x 96"},
      {"RAF", RafFile(Large), "96 x 72"},
      {"raw data only", TiffRaw(Plain, {Image(7, Lossless), Image(7, TwelveBit)}), NoPreview},
      {"ORF header, no preview", WithHeader(TiffBlock(Plain), "IIRO"), NoPreview},
      {"CR3 without PRVW", Cr3File({}), NoPreview},
      {"RAF whose JPEG lies past the end", PastTheEnd(RafFile(Large)), NoPreview},
      {"preview cut short", TiffRaw(Plain, {Image(6, Cut), Image(7, Lossless)}), JpegError},
      {"plain TIFF", TiffBlock(*TDirectories().Ifd0), JpegError},
  };
  for (const auto& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, Case.File);
    try {
      const TPictureSize Shown = TPictureSource(Doc, Case.File).ShownSize();
      EXPECT_EQ(std::to_string(Shown.Width) + " x " + std::to_string(Shown.Height), Case.Shown) << Case.What;
    } catch (const EPictureError& Error) {
      EXPECT_TRUE(std::string_view(Error.what()).starts_with(Case.Shown)) << Case.What << ": " << Error.what();
    }
  }
}

}  // namespace
