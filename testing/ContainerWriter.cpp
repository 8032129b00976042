#include "ContainerWriter.h"

#include <zlib.h>

#include <initializer_list>
#include <stdexcept>
#include <utility>

namespace {

TBytes Big16(uint32_t Value) { return U16(static_cast<uint16_t>(Value), TByteOrder::Big); }
TBytes Big32(uint32_t Value) { return U32(Value, TByteOrder::Big); }
TBytes Id(uint32_t Value, int Version) { return Version == 0 ? Big16(Value) : Big32(Value); }

void Append(TBytes& To, const TBytes& Bytes) { To.insert(To.end(), Bytes.begin(), Bytes.end()); }
void Append(TBytes& To, std::string_view Text) { To.insert(To.end(), Text.begin(), Text.end()); }

}  // namespace

TBytes PngChunk(std::string_view Type, const TBytes& Data) {
  TBytes Chunk = Big32(static_cast<uint32_t>(Data.size()));
  Append(Chunk, Type);
  Append(Chunk, Data);
  const uLong Crc = crc32(crc32(0, nullptr, 0), Chunk.data() + 4, static_cast<uInt>(Data.size() + 4));
  Append(Chunk, Big32(static_cast<uint32_t>(Crc)));
  return Chunk;
}

TBytes PngFile(const std::vector<TBytes>& Chunks) {
  TBytes File = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  for (const TBytes& Chunk : Chunks) Append(File, Chunk);
  return File;
}

TBytes PngHeader(uint32_t Width, uint32_t Height) {
  TBytes Data = Concat({Big32(Width), Big32(Height)});
  Append(Data, TBytes{8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, not interlaced
  return PngChunk("IHDR", Data);
}

TBytes PngStandInData() { return PngChunk("IDAT", BytesOf("image data that no test reads")); }

TBytes PngEnd() { return PngChunk("IEND", {}); }

std::string RawProfileText(std::string_view Name, const TBytes& Bytes) {
  std::string Text = "\n" + std::string(Name) + "\n";
  const std::string Length = std::to_string(Bytes.size());
  Text += std::string(8 - std::min<size_t>(8, Length.size()), ' ') + Length;
  constexpr char Digits[] = "0123456789abcdef";
  for (size_t Index = 0; Index < Bytes.size(); ++Index) {
    if (Index % 36 == 0) Text += '\n';
    Text += Digits[Bytes[Index] >> 4];
    Text += Digits[Bytes[Index] & 15];
  }
  return Text + "\n";
}

TBytes Deflate(const TBytes& Bytes) {
  uLongf Size = compressBound(static_cast<uLong>(Bytes.size()));
  TBytes Out(Size);
  if (compress(Out.data(), &Size, Bytes.data(), static_cast<uLong>(Bytes.size())) != Z_OK)
    throw std::runtime_error("zlib cannot compress");
  Out.resize(Size);
  return Out;
}

TBytes RiffChunk(std::string_view Type, const TBytes& Data) {
  TBytes Chunk;
  Append(Chunk, Type);
  Append(Chunk, U32(static_cast<uint32_t>(Data.size())));
  Append(Chunk, Data);
  if (Data.size() % 2 != 0) Chunk.push_back(0);
  return Chunk;
}

TBytes WebpFile(const std::vector<TBytes>& Chunks) {
  TBytes Body;
  Append(Body, "WEBP");
  const bool HasPicture = !Chunks.empty() && (Chunks[0][0] == 'V');
  if (!HasPicture) Append(Body, RiffChunk("VP8L", BytesOf("stand-in picture data")));
  for (const TBytes& Chunk : Chunks) Append(Body, Chunk);
  TBytes File;
  Append(File, "RIFF");
  Append(File, U32(static_cast<uint32_t>(Body.size())));
  Append(File, Body);
  return File;
}

TBytes Box(std::string_view Type, const TBytes& Payload) {
  TBytes Out = Big32(static_cast<uint32_t>(Payload.size() + 8));
  Append(Out, Type);
  Append(Out, Payload);
  return Out;
}

TBytes FullBox(std::string_view Type, uint8_t Version, uint32_t Flags, const TBytes& Payload) {
  return Box(Type, Concat({Big32(uint32_t{Version} << 24 | (Flags & 0xFFFFFF)), Payload}));
}

namespace {

TBytes ItemInfo(const THeifLayout& Layout) {
  TBytes Entries = Id(static_cast<uint32_t>(Layout.Items.size()), Layout.Version);
  for (const THeifItem& Item : Layout.Items) {
    TBytes Info = Concat({Id(Item.Id, Layout.Version), Big16(0)});
    Append(Info, Item.Type.substr(0, 4));
    Info.push_back(0);  // an empty name
    if (!Item.ContentType.empty()) {
      Append(Info, Item.ContentType);
      Info.push_back(0);
    }
    Append(Entries, FullBox("infe", static_cast<uint8_t>(Layout.Version == 0 ? 2 : 3), 0, Info));
  }
  return FullBox("iinf", static_cast<uint8_t>(Layout.Version), 0, Entries);
}

// iloc with 4-byte offsets and lengths and no base offset; Mdat is where
// the "mdat" payload starts in the file.
TBytes ItemLocations(const THeifLayout& Layout, uint32_t Mdat) {
  // Version 1 has 16-bit item ids and counts, version 2 32-bit ones.
  TBytes Payload = Big16(0x4400);  // offset size 4, length size 4, base size 0, index size 0
  Append(Payload, Id(static_cast<uint32_t>(Layout.Items.size()), Layout.Version));
  uint32_t InMdat = 0, InIdat = 0;
  for (const THeifItem& Item : Layout.Items) {
    Append(Payload, Id(Item.Id, Layout.Version));
    Append(Payload, Big16(Item.InItemData ? 1 : 0));  // construction method
    Append(Payload, Big16(0));                         // data reference index
    const auto Extents = static_cast<uint32_t>(std::max(1, Item.Extents));
    Append(Payload, Big16(Extents));
    const auto Size = static_cast<uint32_t>(Item.Data.size());
    uint32_t& At = Item.InItemData ? InIdat : InMdat;
    for (uint32_t Extent = 0; Extent < Extents; ++Extent) {
      const uint32_t From = Size * Extent / Extents, To = Size * (Extent + 1) / Extents;
      Append(Payload, Big32((Item.InItemData ? 0 : Mdat) + At + From));
      Append(Payload, Big32(To - From));
    }
    At += Size;
  }
  return FullBox("iloc", static_cast<uint8_t>(Layout.Version == 0 ? 1 : 2), 0, Payload);
}

TBytes Properties(const THeifLayout& Layout) {
  TBytes Container = FullBox("ispe", 0, 0, Concat({Big32(Layout.Width), Big32(Layout.Height)}));
  if (Layout.Turn) Append(Container, Box("irot", {*Layout.Turn}));
  TBytes Associations = Concat({Big32(1), Id(Layout.Primary, Layout.Version)});
  Associations.push_back(static_cast<uint8_t>(Layout.Turn ? 2 : 1));
  Associations.push_back(0x81);  // essential, property 1
  if (Layout.Turn) Associations.push_back(0x82);
  return Box("iprp", Concat({Box("ipco", Container), FullBox("ipma", static_cast<uint8_t>(Layout.Version), 0,
                                                                  Associations)}));
}

TBytes References(const THeifLayout& Layout) {
  TBytes Payload;
  for (const THeifItem& Item : Layout.Items)
    if (Item.Describes)
      Append(Payload, Box("cdsc", Concat({Id(Item.Id, Layout.Version), Big16(1), Id(*Item.Describes, Layout.Version)})));
  return Payload.empty() ? TBytes{} : FullBox("iref", static_cast<uint8_t>(Layout.Version), 0, Payload);
}

TBytes Meta(const THeifLayout& Layout, uint32_t Mdat) {
  TBytes ItemData, Handler = Big32(0);
  Append(Handler, "pict");
  Append(Handler, TBytes(13, 0));
  for (const THeifItem& Item : Layout.Items)
    if (Item.InItemData) Append(ItemData, Item.Data);
  TBytes Children = Concat({FullBox("hdlr", 0, 0, Handler),
                            FullBox("pitm", static_cast<uint8_t>(Layout.Version), 0, Id(Layout.Primary, Layout.Version)),
                            ItemInfo(Layout), ItemLocations(Layout, Mdat), References(Layout), Properties(Layout)});
  if (!ItemData.empty()) Append(Children, Box("idat", ItemData));
  return FullBox("meta", 0, 0, Children);
}

}  // namespace

TBytes HeifFile(const THeifLayout& Layout) {
  TBytes Brands;
  Append(Brands, Layout.MajorBrand);
  Append(Brands, Big32(0));
  for (const std::string& Brand : Layout.CompatibleBrands) Append(Brands, Brand);
  const TBytes FileType = Box("ftyp", Brands);
  TBytes MediaData;
  for (const THeifItem& Item : Layout.Items)
    if (!Item.InItemData) Append(MediaData, Item.Data);
  // The offsets in iloc depend on where mdat starts, which depends on the
  // size of meta: its size does not depend on the offsets' values.
  const size_t MetaSize = Meta(Layout, 0).size();
  const auto Mdat = static_cast<uint32_t>(FileType.size() + MetaSize + 8);
  return Concat({FileType, Meta(Layout, Mdat), Box("mdat", MediaData)});
}

TBytes HeifExifItemData(const TBytes& Tiff) { return Concat({Big32(6), BytesOf(std::string_view("Exif\0\0", 6)), Tiff}); }

namespace {

TBytes UuidBox(std::initializer_list<uint8_t> Uuid, const TBytes& Payload) {
  return Box("uuid", Concat({TBytes(Uuid), Payload}));
}

// A box of Canon's whose payload is a 16-byte header, then a JPEG.
TBytes CanonJpegBox(std::string_view Type, const TBytes& Header, const TBytes& Jpeg) {
  return Box(Type, Concat({Header, Jpeg}));
}

}  // namespace

TBytes Cr3File(const TCr3Layout& Layout) {
  TBytes Metadata = Box("CNCV", BytesOf("CanonCR3_001/00.09.00/00.00.00"));
  const std::pair<const char*, const std::optional<TBytes>*> Blocks[] = {
      {"CMT1", &Layout.Cmt1}, {"CMT2", &Layout.Cmt2}, {"CMT3", &Layout.Cmt3}, {"CMT4", &Layout.Cmt4}};
  for (const auto& [Type, Block] : Blocks)
    if (*Block) Append(Metadata, Box(Type, **Block));
  if (Layout.Thumbnail) {
    const auto Length = static_cast<uint32_t>(Layout.Thumbnail->size());
    Append(Metadata, CanonJpegBox("THMB", Concat({Big32(0), Big16(160), Big16(120), Big32(Length), Big32(0x10000)}),
                                  *Layout.Thumbnail));
  }
  TBytes File = Box("ftyp", Concat({BytesOf("crx "), Big32(1), BytesOf("crx isom")}));
  Append(File, Box("moov", UuidBox({0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0, 0x81, 0x11, 0xf4, 0xce, 0x46,
                                    0x2b, 0x6a, 0x48},
                                   Metadata)));
  Append(File, UuidBox({0xbe, 0x7a, 0xcf, 0xcb, 0x97, 0xa9, 0x42, 0xe8, 0x9c, 0x71, 0x99, 0x94, 0x91, 0xe3, 0xaf, 0xac},
                       BytesOf(Layout.Xmp)));
  if (Layout.Preview) {
    const auto Length = static_cast<uint32_t>(Layout.Preview->size());
    const TBytes Prvw = CanonJpegBox(
        "PRVW", Concat({Big32(0), Big16(1), Big16(1620), Big16(1080), Big16(1), Big32(Length)}), *Layout.Preview);
    Append(File, UuidBox({0xea, 0xf4, 0x2b, 0x5e, 0x1c, 0x98, 0x4b, 0x88, 0xb9, 0xfb, 0xb7, 0xdc, 0x40, 0x6e, 0x4d,
                          0x16},
                         Concat({Big32(0), Big32(1), Prvw})));
  }
  Append(File, Box("mdat", Layout.RawData));
  return File;
}

TBytes RafFile(const TBytes& Jpeg, const TBytes& RawData) {
  constexpr uint32_t JpegAt = 148;
  TBytes File = BytesOf("FUJIFILMCCD-RAW 0201FF383501");
  TBytes Camera = BytesOf("X-T2");
  Camera.resize(32, 0);
  Append(File, Camera);
  Append(File, BytesOf("0100"));
  File.resize(84, 0);
  Append(File, Concat({Big32(JpegAt), Big32(static_cast<uint32_t>(Jpeg.size()))}));
  // The CFA header's and the raw data's places, which the reader does not use.
  const auto RawAt = static_cast<uint32_t>(JpegAt + Jpeg.size());
  Append(File, Concat({Big32(RawAt), Big32(0), Big32(RawAt), Big32(static_cast<uint32_t>(RawData.size()))}));
  File.resize(JpegAt, 0);
  Append(File, Jpeg);
  Append(File, RawData);
  return File;
}
