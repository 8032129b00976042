// Where files keep XMP and IPTC: each container gives the same rows for the
// same packet and records; JPEG's Extended XMP is joined only when whole and
// true to its GUID; a sidecar's rows follow the file's own.
#include <gtest/gtest.h>

#include "ContainerWriter.h"
#include "EXIF_Intf.h"
#include "JpegMaker.h"
#include "Md5.h"
#include "MetadataWriter.h"
#include "TempDir.h"

namespace {

std::string XmpLines(const TEXIF& Doc) {
  std::string Text;
  for (const TXmpProperty& Row : Doc.XmpProperties())
    Text += Row.Path + '|' + Row.Name + '|' + Row.Value + (Row.Sidecar ? "|sidecar\n" : "\n");
  return Text;
}

std::string IptcLines(const TEXIF& Doc) {
  std::string Text;
  for (const TIptcDataset& Row : Doc.IptcDatasets())
    Text += std::to_string(Row.Record) + ':' + std::to_string(Row.Dataset) + '|' + Row.Name + '|' + Row.Value + '\n';
  return Text;
}

const std::string Packet = XmpPacket("<rdf:Description xmp:Rating='4'><dc:subject><rdf:Bag><rdf:li>sea</rdf:li>"
                                     "</rdf:Bag></dc:subject></rdf:Description>");
constexpr const char* PacketRows = "xmp:Rating|Rating|4\ndc:subject[1]|Subject|sea\n";

TBytes PngXmpChunk(bool Compressed) {
  const TBytes Key = BytesOf(std::string_view("XML:com.adobe.xmp\0", 18));
  if (!Compressed) return PngChunk("iTXt", Concat({Key, {0, 0, 0, 0}, BytesOf(Packet)}));
  return PngChunk("iTXt", Concat({Key, {1, 0}, BytesOf(std::string_view("en\0XMP\0", 7)), Deflate(BytesOf(Packet))}));
}

TBytes HeifWithXmpItem() {
  THeifLayout Layout;
  Layout.Items = {{.Id = 1, .Type = "hvc1", .Data = BytesOf("picture")},
                  {.Id = 2, .Type = "mime", .ContentType = "application/rdf+xml", .Data = BytesOf(Packet)}};
  return HeifFile(Layout);
}

TBytes XmpUuidBox() {
  const TBytes Uuid{0xBE, 0x7A, 0xCF, 0xCB, 0x97, 0xA9, 0x42, 0xE8, 0x9C, 0x71, 0x99, 0x94, 0x91, 0xE3, 0xAF, 0xAC};
  return Box("uuid", Concat({Uuid, BytesOf(Packet)}));
}

TEST(XmpSources, EveryContainerGivesThePacketsRows) {
  TIfd Tiff;
  Tiff.Ascii(0x010F, "Canon").BlobAt(700, ftByte, uint32_t(Packet.size()), BytesOf(Packet));
  const struct {
    const char* What;
    TBytes File;
  } Cases[] = {
      {"JPEG APP1", JpegWith({XmpSegment(Packet)})},
      {"JPEG, IFD 0 tag 700 of the EXIF segment", JpegWith({ExifSegment(TiffBlock(Tiff))})},
      {"TIFF tag 700, little-endian", TiffBlock(Tiff)},
      {"TIFF tag 700, big-endian", TiffBlock(Tiff, TByteOrder::Big)},
      {"PNG iTXt", PngFile({PngHeader(), PngXmpChunk(false), PngStandInData(), PngEnd()})},
      {"PNG iTXt compressed, with a language", PngFile({PngHeader(), PngStandInData(), PngXmpChunk(true), PngEnd()})},
      {"WebP XMP chunk", WebpFile({RiffChunk("XMP ", BytesOf(Packet))})},
      {"HEIF mime item", HeifWithXmpItem()},
      {"ISO base media uuid box", Concat({HeifFile({}), XmpUuidBox()})},
      {"CR3 uuid box", Cr3File({.Xmp = Packet})},
      {"RAF, its JPEG's APP1", RafFile(JpegWith({XmpSegment(Packet)}))},
  };
  for (const auto& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, Case.File);
    EXPECT_EQ(XmpLines(Doc), PacketRows) << Case.What;
  }
}

TBytes Records() {
  return Concat({IptcDataset(2, 0, TBytes{0, 4}), IptcDataset(2, 5, "Harbour"), IptcDataset(2, 25, "sea"),
                 IptcDataset(2, 25, "boat")});
}
constexpr const char* RecordRows = "2:0|Record Version|4\n2:5|Object Name|Harbour\n2:25|Keywords|sea\n2:25|Keywords|boat\n";

TEST(IptcSources, EveryContainerGivesTheRecordsRows) {
  const TBytes Resources = Concat({PhotoshopResource(0x03ED, TBytes(16, 1)), PhotoshopResource(0x0404, Records()),
                                   PhotoshopResource(0x0425, TBytes(16, 2))});
  const TBytes Split1(Resources.begin(), Resources.begin() + 40), Split2(Resources.begin() + 40, Resources.end());
  TIfd Iptc, Photoshop;
  Iptc.BlobAt(33723, ftUndefined, uint32_t(Records().size()), Records());
  Photoshop.BlobAt(34377, ftByte, uint32_t(Resources.size()), Resources);
  const struct {
    const char* What;
    TBytes File;
  } Cases[] = {
      {"JPEG APP13", JpegWith({PhotoshopSegment(Resources)})},
      {"JPEG APP13 in two segments", JpegWith({PhotoshopSegment(Split1), CommentSegment("c"), PhotoshopSegment(Split2)})},
      {"TIFF tag 33723", TiffBlock(Iptc, TByteOrder::Big)},
      {"TIFF tag 34377", TiffBlock(Photoshop)},
  };
  for (const auto& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, Case.File);
    EXPECT_EQ(IptcLines(Doc), RecordRows) << Case.What;
  }
}

// Extended XMP: a standard packet naming the GUID, and the parts of the
// extended one, cut in three.
TEST(XmpSources, ExtendedXmpJoinedWhenWholeAndTrue) {
  const std::string Extended =
      XmpPacket("<rdf:Description><photoshop:History>" + std::string(300, 'h') + "</photoshop:History></rdf:Description>");
  const std::string Guid = Md5Hex(BytesOf(Extended));
  const std::string Standard = XmpPacket("<rdf:Description xmpNote:HasExtendedXMP='" + Guid + "' xmp:Rating='2'/>");
  const auto Size = uint32_t(Extended.size());
  const auto Part = [&](std::string_view PartGuid, uint32_t From, uint32_t To, std::string_view Text = {}) {
    const std::string_view Data = Text.empty() ? std::string_view(Extended).substr(From, To - From) : Text;
    return XmpExtensionSegment(PartGuid, Size, From, Data);
  };
  const std::string StandardRows = "xmpNote:HasExtendedXMP|Has Extended XMP|" + Guid + "\nxmp:Rating|Rating|2\n";
  const std::string JoinedRows = StandardRows + "photoshop:History|History|" + std::string(300, 'h') + '\n';
  const std::string OtherGuid(32, 'A');
  const struct {
    const char* What;
    std::vector<TBytes> Segments;
    std::string Rows;
  } Cases[] = {
      {"in order", {XmpSegment(Standard), Part(Guid, 0, 200), Part(Guid, 200, 400), Part(Guid, 400, Size)}, JoinedRows},
      {"out of order, before the standard packet",
       {Part(Guid, 400, Size), Part(Guid, 0, 200), XmpSegment(Standard), Part(Guid, 200, 400)}, JoinedRows},
      {"a part missing", {XmpSegment(Standard), Part(Guid, 0, 200), Part(Guid, 400, Size)}, StandardRows},
      {"the last part missing", {XmpSegment(Standard), Part(Guid, 0, 200), Part(Guid, 200, 400)}, StandardRows},
      {"parts of another GUID",
       {XmpSegment(Standard), Part(OtherGuid, 0, 200), Part(OtherGuid, 200, 400), Part(OtherGuid, 400, Size)},
       StandardRows},
      {"a part changed: the digest is not the GUID",
       {XmpSegment(Standard), Part(Guid, 0, 200), Part(Guid, 200, 400, std::string(200, ' ')), Part(Guid, 400, Size)},
       StandardRows},
  };
  for (const auto& Case : Cases) {
    TEXIF Doc;
    LoadBytes(Doc, JpegWith(Case.Segments));
    EXPECT_EQ(XmpLines(Doc), Case.Rows) << Case.What;
  }
}

TEST(XmpSources, SidecarRowsFollowTheFilesOwn) {
  const TTempDir Dir;
  const std::string Photo = Dir.Write("photo.jpg", JpegWith({XmpSegment(Packet)}));
  const TBytes Sidecar = BytesOf(XmpPacket("<rdf:Description xmp:Label='Blue'/>"));
  const std::string Own = PacketRows;
  for (const char* Name : {"photo.jpg.xmp", "photo.jpg.XMP", "photo.xmp", "photo.XMP"}) {
    const std::string Path = Dir.Write(Name, Sidecar);
    TEXIF Doc;
    Doc.LoadFromFile(Photo);
    EXPECT_EQ(XmpLines(Doc), Own + "xmp:Label|Label (sidecar)|Blue|sidecar\n") << Name;
    std::remove(Path.c_str());
  }
  // The first name that exists is read, and a sidecar's error row is its own.
  Dir.Write("photo.xmp", Sidecar);
  Dir.Write("photo.jpg.XMP", BytesOf("<x"));
  TEXIF Doc;
  Doc.LoadFromFile(Photo);
  EXPECT_EQ(XmpLines(Doc), Own + "(error)|XML Error (sidecar)|line 1, column 1: unclosed token|sidecar\n");
  // Bytes loaded from memory have no name, and no sidecar.
  Doc.LoadFromBytes(ReadWholeFile(Photo));
  EXPECT_EQ(XmpLines(Doc), Own);
}

}  // namespace
