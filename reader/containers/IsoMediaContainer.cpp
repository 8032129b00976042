// ISO base media files (HEIF, HEIC, AVIF): a sequence of boxes, each a 32-bit
// big-endian size (1: a 64-bit size follows the type; 0: to the end of its
// parent), a four-letter type, and for "uuid" boxes a 16-byte type of its
// own. An image file names its brands in "ftyp" and describes its items in
// the "meta" box: "pitm" names the primary item, "iinf" each item's type,
// "iloc" where its bytes are, "iref" how items refer to each other, and
// "iprp" the properties ("ispe" size, "irot" turn) that "ipma" associates
// with items. EXIF is the item of type "Exif" that describes ("cdsc") the
// primary item; XMP items are "mime" items of type application/rdf+xml. A
// top-level "uuid" box of XMP's UUID holds an XMP packet (Canon's CR3 files;
// Adobe's XMP documents, Part 3, for MP4 files).
// Layouts: ISO/IEC 14496-12 (boxes, meta, iinf, iloc, iref, idat), ISO/IEC
// 23008-12 (HEIF: pitm, iprp, ipco, ipma, ispe, irot; the Exif item's
// leading offset).
//
// Canon's CR3 raw files (brand "crx ") keep their metadata in boxes of
// Canon's own: in "moov", the "uuid" box 85c0b687-820f-11e0-8111-f4ce462b6a48
// holds CMT1 to CMT4, TIFF blocks whose first directory is IFD 0, the EXIF
// directory, the Canon maker note and the GPS directory, and THMB, a small
// JPEG after a 16-byte header (version, width, height, its length, 4 more
// bytes). The top-level "uuid" box eaf42b5e-1c98-4b88-b9fb-b7dc406e4d16
// holds, after 8 bytes, the PRVW box: a 16-byte header (4 bytes, a 16-bit
// 1, width, height, another 1, the JPEG's length) and the preview JPEG. XMP
// is the "uuid" box be7acfcb-97a9-42e8-9c71-999491e3afac. Layouts: ExifTool's
// Canon tags page (CR3 uuid boxes), Laurent Clevy's description of CR3
// (github.com/lclevy/canon_cr3), Adobe's XMP documents, Part 3 (XMP in ISO
// base media files).
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "ByteOrder.h"
#include "Containers.h"

namespace {

// Walks end after this many boxes at one level, and go at most this deep.
constexpr int MaxBoxesPerLevel = 4096;
// Entries of the item lists kept; real files have some dozens (an iPhone
// photo about 60: tiles of a grid, thumbnails, EXIF, XMP).
constexpr size_t MaxItems = 65536;
// The EXIF item's bytes, joined when they lie in several extents.
constexpr int64_t MaxJoinedExif = int64_t{16} << 20;

// Brands of HEVC-coded HEIF files and of AVIF files; "mif1" and "msf1" name
// HEIF images and sequences of any coding.
constexpr std::string_view HevcBrands[] = {"heic", "heix", "hevc", "heim", "heis", "hevm", "hevs"};
constexpr std::string_view AvifBrands[] = {"avif", "avis"};
constexpr std::string_view GeneralBrands[] = {"mif1", "msf1"};
constexpr std::string_view CanonRawBrands[] = {"crx "};

template <size_t N>
bool IsOneOf(std::string_view Brand, const std::string_view (&Brands)[N]) {
  return std::find(std::begin(Brands), std::end(Brands), Brand) != std::end(Brands);
}

using TUuid = std::array<uint8_t, 16>;

struct TBox {
  char Type[4] = {};
  TUuid UserType = {};  // of a "uuid" box
  int64_t Start = 0;
  int64_t Data = 0;  // after the header
  int64_t End = 0;
  bool Is(std::string_view Name) const { return std::string_view(Type, 4) == Name; }
  bool IsUuid(const TUuid& Uuid) const { return Is("uuid") && UserType == Uuid; }
};

// The header of the box at the stream's position, which must end by Limit
// (the end of its parent). False when it does not fit.
bool ReadBox(TMemoryStream& File, int64_t Limit, TBox& Box) {
  Box.Start = File.Position();
  uint8_t Header[8];
  if (Box.Start + 8 > Limit || !File.ReadExact(Header)) return false;
  uint64_t Size = Big32(Header);
  std::memcpy(Box.Type, Header + 4, 4);
  if (Size == 1) {
    uint8_t Large[8];
    if (!File.ReadExact(Large)) return false;
    Size = (uint64_t{Big32(Large)} << 32) | Big32(Large + 4);
  } else if (Size == 0) {
    Size = static_cast<uint64_t>(Limit - Box.Start);
  }
  if (Box.Is("uuid") && !File.ReadExact(Box.UserType)) return false;
  Box.Data = File.Position();
  if (Size < static_cast<uint64_t>(Box.Data - Box.Start) || Size > static_cast<uint64_t>(Limit - Box.Start))
    return false;
  Box.End = Box.Start + static_cast<int64_t>(Size);
  return true;
}

// Calls Visit with each box in [From, End); Visit may move the stream.
template <class TVisit>
void ForEachBox(TMemoryStream& File, int64_t From, int64_t End, TVisit&& Visit) {
  int64_t At = From;
  for (int Count = 0; Count < MaxBoxesPerLevel && At < End; ++Count) {
    File.Seek(At);
    TBox Box;
    if (!ReadBox(File, End, Box)) return;
    if (!Visit(Box)) return;
    At = Box.End;
  }
}

// Numbers of a box's payload, read in order; a read past the box's end
// fails and every later one too.
class TBoxReader {
 public:
  TBoxReader(TMemoryStream& File, int64_t From, int64_t End) : FFile(File), FEnd(End) { FFile.Seek(From); }

  bool Ok() const { return FOk; }
  uint64_t Number(int Bytes) {
    uint8_t Buffer[8] = {};
    if (Bytes < 0 || Bytes > 8 || FFile.Position() + Bytes > FEnd ||
        !FFile.ReadExact(std::span<uint8_t>(Buffer, static_cast<size_t>(Bytes))))
      FOk = false;
    if (!FOk) return 0;
    uint64_t Value = 0;
    for (int Index = 0; Index < Bytes; ++Index) Value = Value << 8 | Buffer[Index];
    return Value;
  }
  uint32_t U8() { return static_cast<uint32_t>(Number(1)); }
  uint32_t U16() { return static_cast<uint32_t>(Number(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Number(4)); }
  // A full box's version (its flags are passed over).
  uint32_t Version() {
    const uint32_t Value = U32();
    return Value >> 24;
  }
  void FourCC(char (&Type)[4]) {
    const uint32_t Value = U32();
    for (int Index = 0; Index < 4; ++Index) Type[Index] = static_cast<char>(Value >> (24 - 8 * Index));
  }
  // A string ended by a zero byte (or by the box's end), at most 255 bytes kept.
  std::string String() {
    std::string Text;
    while (FOk && FFile.Position() < FEnd) {
      const auto Char = static_cast<char>(U8());
      if (Char == '\0') break;
      if (Text.size() < 255) Text += Char;
    }
    return Text;
  }
  int64_t Position() const { return FFile.Position(); }

 private:
  TMemoryStream& FFile;
  int64_t FEnd;
  bool FOk = true;
};

struct TItem {
  uint32_t Id = 0;
  char Type[4] = {};
  std::string ContentType;
  bool Is(std::string_view Name) const { return std::string_view(Type, 4) == Name; }
};

struct TExtent {
  int64_t Offset = 0;
  int64_t Length = 0;
};

struct TItemLocation {
  uint32_t Id = 0;
  uint32_t Method = 0;  // 0: offsets in the file; 1: in the "idat" box
  std::vector<TExtent> Extents;
};

struct TReference {
  uint32_t From = 0;
  uint32_t To = 0;
};

struct TProperty {
  char Type[4] = {};
  TPictureSize Size;   // ispe
  int Turn = 0;        // irot: quarter turns anti-clockwise
};

struct TMeta {
  uint32_t Primary = 0;
  std::vector<TItem> Items;
  std::vector<TItemLocation> Locations;
  std::vector<TReference> Describes;  // "cdsc" references
  std::vector<TProperty> Properties;  // of "ipco", in order (index 1 first)
  std::vector<std::pair<uint32_t, uint32_t>> Associations;  // item, property index
  TByteRange ItemData;                // the "idat" box's payload
};

void ReadPrimary(TBoxReader Box, TMeta& Meta) {
  const uint32_t Version = Box.Version();
  Meta.Primary = Version == 0 ? Box.U16() : Box.U32();
}

// iinf: a count, then an "infe" box per item (versions 2 and 3 carry the
// item type; a "mime" item its content type after its name).
void ReadItemInfo(TMemoryStream& File, const TBox& Info, TMeta& Meta) {
  TBoxReader Head(File, Info.Data, Info.End);
  const uint32_t Version = Head.Version();
  Version == 0 ? Head.U16() : Head.U32();
  ForEachBox(File, Head.Position(), Info.End, [&](const TBox& Entry) {
    if (!Entry.Is("infe") || Meta.Items.size() >= MaxItems) return true;
    TBoxReader Box(File, Entry.Data, Entry.End);
    const uint32_t EntryVersion = Box.Version();
    if (EntryVersion < 2) return true;
    TItem Item;
    Item.Id = EntryVersion == 2 ? Box.U16() : Box.U32();
    Box.U16();  // protection index
    Box.FourCC(Item.Type);
    Box.String();  // the item's name
    if (Item.Is("mime")) Item.ContentType = Box.String();
    if (Box.Ok()) Meta.Items.push_back(std::move(Item));
    return true;
  });
}

// iloc: field sizes, then per item its id, construction method, base offset
// and extents.
void ReadItemLocations(TMemoryStream& File, const TBox& Locations, TMeta& Meta) {
  TBoxReader Box(File, Locations.Data, Locations.End);
  const uint32_t Version = Box.Version();
  const uint32_t Sizes = Box.U16();
  const int OffsetSize = static_cast<int>(Sizes >> 12), LengthSize = static_cast<int>((Sizes >> 8) & 15);
  const int BaseSize = static_cast<int>((Sizes >> 4) & 15), IndexSize = Version >= 1 ? static_cast<int>(Sizes & 15) : 0;
  const uint32_t Count = Version < 2 ? Box.U16() : Box.U32();
  for (uint32_t Index = 0; Index < Count && Box.Ok() && Meta.Locations.size() < MaxItems; ++Index) {
    TItemLocation Item;
    Item.Id = Version < 2 ? Box.U16() : Box.U32();
    if (Version >= 1) Item.Method = Box.U16() & 15;
    Box.U16();  // data reference index
    const uint64_t Base = Box.Number(BaseSize);
    const uint32_t Extents = Box.U16();
    for (uint32_t Extent = 0; Extent < Extents && Box.Ok(); ++Extent) {
      Box.Number(IndexSize);
      const uint64_t Offset = Box.Number(OffsetSize), Length = Box.Number(LengthSize);
      // Offsets past what 63 bits hold are no place in any file.
      if (Base > INT64_MAX / 2 || Offset > INT64_MAX / 2 || Length > INT64_MAX / 2) continue;
      if (Item.Extents.size() < 64)
        Item.Extents.push_back({static_cast<int64_t>(Base + Offset), static_cast<int64_t>(Length)});
    }
    if (Box.Ok()) Meta.Locations.push_back(std::move(Item));
  }
}

// iref: boxes of a reference type, each a from-item and its to-items.
void ReadReferences(TMemoryStream& File, const TBox& References, TMeta& Meta) {
  TBoxReader Head(File, References.Data, References.End);
  const uint32_t Version = Head.Version();
  ForEachBox(File, Head.Position(), References.End, [&](const TBox& Reference) {
    if (!Reference.Is("cdsc")) return true;
    TBoxReader Box(File, Reference.Data, Reference.End);
    const uint32_t From = Version == 0 ? Box.U16() : Box.U32();
    const uint32_t Count = Box.U16();
    for (uint32_t Index = 0; Index < Count && Box.Ok() && Meta.Describes.size() < MaxItems; ++Index) {
      const uint32_t To = Version == 0 ? Box.U16() : Box.U32();
      if (Box.Ok()) Meta.Describes.push_back({From, To});
    }
    return true;
  });
}

// iprp: the properties ("ipco") and their associations with items ("ipma").
void ReadProperties(TMemoryStream& File, const TBox& Properties, TMeta& Meta) {
  ForEachBox(File, Properties.Data, Properties.End, [&](const TBox& Box) {
    if (Box.Is("ipco")) {
      ForEachBox(File, Box.Data, Box.End, [&](const TBox& Property) {
        if (Meta.Properties.size() >= MaxItems) return false;
        TProperty Read;
        std::memcpy(Read.Type, Property.Type, 4);
        TBoxReader Payload(File, Property.Data, Property.End);
        if (Property.Is("ispe")) {
          Payload.Version();
          const uint32_t Width = Payload.U32(), Height = Payload.U32();
          if (Payload.Ok() && Width <= INT32_MAX && Height <= INT32_MAX)
            Read.Size = {static_cast<int>(Width), static_cast<int>(Height)};
        } else if (Property.Is("irot")) {
          Read.Turn = static_cast<int>(Payload.U8() & 3);
        }
        Meta.Properties.push_back(Read);
        return true;
      });
    } else if (Box.Is("ipma")) {
      TBoxReader Payload(File, Box.Data, Box.End);
      const uint32_t VersionAndFlags = Payload.U32();
      const bool LongIds = (VersionAndFlags >> 24) >= 1, LongIndices = (VersionAndFlags & 1) != 0;
      const uint32_t Entries = Payload.U32();
      for (uint32_t Entry = 0; Entry < Entries && Payload.Ok() && Meta.Associations.size() < MaxItems; ++Entry) {
        const uint32_t Item = LongIds ? Payload.U32() : Payload.U16();
        const uint32_t Count = Payload.U8();
        for (uint32_t Index = 0; Index < Count && Payload.Ok(); ++Index) {
          const uint32_t Property = LongIndices ? Payload.U16() & 0x7FFF : Payload.U8() & 0x7F;
          if (Payload.Ok() && Meta.Associations.size() < MaxItems) Meta.Associations.emplace_back(Item, Property);
        }
      }
    }
    return true;
  });
}

TMeta ReadMeta(TMemoryStream& File, const TBox& MetaBox) {
  TMeta Meta;
  ForEachBox(File, MetaBox.Data + 4, MetaBox.End, [&](const TBox& Box) {  // after version and flags
    if (Box.Is("pitm")) ReadPrimary(TBoxReader(File, Box.Data, Box.End), Meta);
    else if (Box.Is("iinf")) ReadItemInfo(File, Box, Meta);
    else if (Box.Is("iloc")) ReadItemLocations(File, Box, Meta);
    else if (Box.Is("iref")) ReadReferences(File, Box, Meta);
    else if (Box.Is("iprp")) ReadProperties(File, Box, Meta);
    else if (Box.Is("idat")) Meta.ItemData = {Box.Data, Box.End - Box.Data};
    return true;
  });
  return Meta;
}

// The EXIF item: the first "Exif" item that describes the primary item, else
// the first "Exif" item.
const TItem* ExifItem(const TMeta& Meta) {
  const TItem* First = nullptr;
  for (const TItem& Item : Meta.Items) {
    if (!Item.Is("Exif")) continue;
    if (First == nullptr) First = &Item;
    for (const TReference& Reference : Meta.Describes)
      if (Reference.From == Item.Id && Reference.To == Meta.Primary) return &Item;
  }
  return First;
}

const TItemLocation* LocationOf(const TMeta& Meta, uint32_t Id) {
  for (const TItemLocation& Location : Meta.Locations)
    if (Location.Id == Id) return &Location;
  return nullptr;
}

// An item's extents as ranges of the file; none when they do not lie in it.
std::vector<TByteRange> ItemRanges(const TMeta& Meta, const TItemLocation& Location, int64_t FileSize) {
  std::vector<TByteRange> Ranges;
  if (Location.Method > 1) return Ranges;
  for (const TExtent& Extent : Location.Extents) {
    TByteRange Range{Extent.Offset, Extent.Length};
    if (Location.Method == 1) {
      if (Extent.Offset > Meta.ItemData.Length) return {};
      Range.Position += Meta.ItemData.Position;
      // A length of 0 means the rest of the data.
      if (Range.Length == 0) Range.Length = Meta.ItemData.Length - Extent.Offset;
      if (Range.Length > Meta.ItemData.Length - Extent.Offset) return {};
    } else if (Range.Length == 0) {
      Range.Length = FileSize - Range.Position;
    }
    if (Range.Position < 0 || Range.Position > FileSize || Range.Length > FileSize - Range.Position) return {};
    Ranges.push_back(Range);
  }
  return Ranges;
}

// The Exif item's data: a 32-bit big-endian count of the bytes between its
// end and the TIFF header (often the 6 bytes "Exif\0\0"), then TIFF data.
std::optional<TTiffBlock> ExifBlock(TMemoryStream& File, const std::vector<TByteRange>& Ranges) {
  if (Ranges.empty()) return std::nullopt;
  if (Ranges.size() == 1) {
    uint8_t Skip[4];
    File.Seek(Ranges[0].Position);
    if (Ranges[0].Length < 4 || !File.ReadExact(Skip)) return std::nullopt;
    const int64_t Start = Ranges[0].Position + 4 + Big32(Skip);
    const int64_t End = Ranges[0].Position + Ranges[0].Length;
    if (Start >= End) return std::nullopt;
    return TTiffBlock{{Start, End - Start}, TFirstDirectory::IFD0, TTiffRules::TiffFile, {}};
  }
  TByteBuffer Joined;
  for (const TByteRange& Range : Ranges) {
    if (Range.Length > MaxJoinedExif - static_cast<int64_t>(Joined.size())) return std::nullopt;
    const TByteBuffer Part = File.Copy(Range.Position, Range.Length);
    Joined.insert(Joined.end(), Part.begin(), Part.end());
  }
  if (Joined.size() < 4) return std::nullopt;
  const int64_t Start = 4 + int64_t{Big32(Joined.data())};
  const auto Size = static_cast<int64_t>(Joined.size());
  if (Start >= Size) return std::nullopt;
  return TTiffBlock{{Start, Size - Start}, TFirstDirectory::IFD0, TTiffRules::TiffFile,
                    std::make_shared<const TByteBuffer>(std::move(Joined))};
}

// The Orientation code that turns like "irot": a quarter turn anti-clockwise
// is code 8, a half turn 3, three quarters 6.
int64_t OrientationOfTurn(int Turn) {
  constexpr int64_t Codes[4] = {1, 8, 3, 6};
  return Codes[Turn & 3];
}

void NotePicture(const TMeta& Meta, TPictureLocation& Picture) {
  Picture.Format = TPictureFormat::HEIF;
  Picture.ContainerOrientation = 1;
  for (const auto& [Item, Index] : Meta.Associations) {
    if (Item != Meta.Primary || Index == 0 || Index > Meta.Properties.size()) continue;
    const TProperty& Property = Meta.Properties[Index - 1];
    if (std::string_view(Property.Type, 4) == "ispe") Picture.StoredSize = Property.Size;
    if (std::string_view(Property.Type, 4) == "irot") Picture.ContainerOrientation = OrientationOfTurn(Property.Turn);
  }
}

void NoteXmp(TMemoryStream& File, const TMeta& Meta, TMetadataLayout& Layout) {
  for (const TItem& Item : Meta.Items) {
    if (!Item.Is("mime") || Item.ContentType != "application/rdf+xml") continue;
    const TItemLocation* Location = LocationOf(Meta, Item.Id);
    if (Location == nullptr) continue;
    const std::vector<TByteRange> Ranges = ItemRanges(Meta, *Location, File.Size());
    if (Ranges.size() == 1) Layout.XmpPackets.push_back({Ranges[0], {}});
  }
}

// The brands of "ftyp": its major brand, then after a minor version the
// compatible brands, to the box's end.
std::vector<std::string> Brands(TMemoryStream& File, const TBox& FileType) {
  std::vector<std::string> Found;
  TBoxReader Box(File, FileType.Data, FileType.End);
  for (int Index = 0; Box.Ok() && Found.size() < 64; ++Index) {
    char Brand[4];
    Box.FourCC(Brand);
    if (Box.Ok() && Index != 1) Found.emplace_back(Brand, 4);
  }
  return Found;
}

// "CR3" for a Canon raw file, "AVIF" for a file of AV1 brands only, "HEIF"
// for any other image brand, nothing for a file that is no image (a video,
// say).
std::string_view FormatOfBrands(const std::vector<std::string>& Brands) {
  const auto Any = [&](const auto& Set) {
    return std::any_of(Brands.begin(), Brands.end(), [&](const std::string& Brand) { return IsOneOf(Brand, Set); });
  };
  if (Any(CanonRawBrands)) return "CR3";
  if (Any(HevcBrands)) return "HEIF";
  if (Any(AvifBrands)) return "AVIF";
  if (Any(GeneralBrands)) return "HEIF";
  return {};
}

// Canon's boxes of CR3 files (see the top of this file).
constexpr TUuid CanonMetadataUuid{0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
                                  0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};
constexpr TUuid CanonPreviewUuid{0xea, 0xf4, 0x2b, 0x5e, 0x1c, 0x98, 0x4b, 0x88,
                                 0xb9, 0xfb, 0xb7, 0xdc, 0x40, 0x6e, 0x4d, 0x16};
// The "uuid" box whose payload is an XMP packet, in CR3 files and others.
constexpr TUuid XmpUuid{0xbe, 0x7a, 0xcf, 0xcb, 0x97, 0xa9, 0x42, 0xe8, 0x9c, 0x71, 0x99, 0x94, 0x91, 0xe3, 0xaf, 0xac};

void NoteXmpBox(const TBox& Box, TMetadataLayout& Layout) {
  Layout.XmpPackets.push_back({{Box.Data, Box.End - Box.Data}, {}});
}

// The TIFF blocks of Canon's metadata box, in the order they are read: IFD 0
// first, whose Make says the maker note's format.
struct TCanonTiffBox {
  std::string_view Type;
  TFirstDirectory First;
};
constexpr TCanonTiffBox CanonTiffBoxes[] = {{"CMT1", TFirstDirectory::IFD0},
                                            {"CMT2", TFirstDirectory::EXIF},
                                            {"CMT3", TFirstDirectory::MakerNote},
                                            {"CMT4", TFirstDirectory::GPS}};

// The JPEG that follows a box's header of HeaderBytes, whose length is the
// 32-bit number at LengthAt in that header; cut at the box's end.
std::optional<TByteRange> JpegAfterHeader(TMemoryStream& File, const TBox& Box, int64_t HeaderBytes,
                                          int64_t LengthAt) {
  TBoxReader Header(File, Box.Data + LengthAt, Box.End);
  const int64_t Length = Header.U32();
  const int64_t Start = Box.Data + HeaderBytes;
  if (!Header.Ok() || Start >= Box.End || Length == 0) return std::nullopt;
  return TByteRange{Start, std::min(Length, Box.End - Start)};
}

void ReadCanonMetadata(TMemoryStream& File, const TBox& Metadata, TMetadataLayout& Layout) {
  std::array<std::optional<TTiffBlock>, std::size(CanonTiffBoxes)> Blocks;
  ForEachBox(File, Metadata.Data, Metadata.End, [&](const TBox& Box) {
    for (size_t Index = 0; Index < Blocks.size(); ++Index)
      if (Box.Is(CanonTiffBoxes[Index].Type) && !Blocks[Index])
        Blocks[Index] = TTiffBlock{
            {Box.Data, Box.End - Box.Data}, CanonTiffBoxes[Index].First, TTiffRules::TiffFile, {}, 0, true};
    if (Box.Is("THMB") && !Layout.Thumbnail) Layout.Thumbnail = JpegAfterHeader(File, Box, 16, 8);
    return true;
  });
  for (const std::optional<TTiffBlock>& Block : Blocks)
    if (Block) Layout.TiffBlocks.push_back(*Block);
}

std::optional<TByteRange> CanonPreview(TMemoryStream& File, const TBox& Preview) {
  File.Seek(Preview.Data + 8);
  TBox Box;
  if (!ReadBox(File, Preview.End, Box) || !Box.Is("PRVW")) return std::nullopt;
  return JpegAfterHeader(File, Box, 16, 12);
}

// The boxes after "ftyp". The walk ends after the preview: Canon writes
// "moov" and XMP before it and only the raw data after, so that a load
// reads no block of the raw data.
void ReadCanonRaw(TMemoryStream& File, const TBox& FileType, TMetadataLayout& Layout) {
  Layout.Picture.FromPreviews = true;
  ForEachBox(File, FileType.End, File.Size(), [&](const TBox& Box) {
    if (Box.Is("moov")) {
      ForEachBox(File, Box.Data, Box.End, [&](const TBox& Inner) {
        if (!Inner.IsUuid(CanonMetadataUuid)) return true;
        ReadCanonMetadata(File, Inner, Layout);
        return false;
      });
    } else if (Box.IsUuid(XmpUuid)) {
      NoteXmpBox(Box, Layout);
    } else if (Box.IsUuid(CanonPreviewUuid)) {
      if (std::optional<TByteRange> Preview = CanonPreview(File, Box)) Layout.Picture.Previews.push_back(*Preview);
      return false;
    }
    return true;
  });
}

}  // namespace

bool IsIsoMedia(std::span<const uint8_t> First) {
  return First.size() >= 12 && std::memcmp(First.data() + 4, "ftyp", 4) == 0;
}

void ReadIsoMediaLayout(TMemoryStream& File, TMetadataLayout& Layout) {
  Layout.Format = "unknown";
  File.Seek(0);
  TBox FileType;
  if (!ReadBox(File, File.Size(), FileType) || !FileType.Is("ftyp")) return;
  const std::string_view Format = FormatOfBrands(Brands(File, FileType));
  if (Format.empty()) return;
  Layout.Format = Format;
  if (Format == "CR3") return ReadCanonRaw(File, FileType, Layout);
  bool MetaRead = false;
  ForEachBox(File, FileType.End, File.Size(), [&](const TBox& Box) {
    if (Box.IsUuid(XmpUuid)) NoteXmpBox(Box, Layout);
    if (!Box.Is("meta") || MetaRead) return true;
    MetaRead = true;  // one image's metadata
    const TMeta Meta = ReadMeta(File, Box);
    NotePicture(Meta, Layout.Picture);
    if (const TItem* Exif = ExifItem(Meta))
      if (const TItemLocation* Location = LocationOf(Meta, Exif->Id))
        if (std::optional<TTiffBlock> Block = ExifBlock(File, ItemRanges(Meta, *Location, File.Size())))
          Layout.TiffBlocks.push_back(std::move(*Block));
    NoteXmp(File, Meta, Layout);
    return true;
  });
}
