// Writers of the containers that carry EXIF besides JPEG and TIFF: PNG
// chunks, RIFF (WebP) chunks and ISO base media boxes (HEIF, AVIF), so that
// tests and fuzzers can build exact files around a TIFF block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ExifWriter.h"

// PNG: the signature, then the chunks; a chunk's length, type, data and CRC.
TBytes PngChunk(std::string_view Type, const TBytes& Data);
TBytes PngFile(const std::vector<TBytes>& Chunks);
// IHDR of an 8-bit RGB picture, a stand-in IDAT (not decodable) and IEND:
// what the metadata tests need around their chunks.
TBytes PngHeader(uint32_t Width = 1, uint32_t Height = 1);
TBytes PngStandInData();
TBytes PngEnd();
// The text of a raw profile as ImageMagick writes it: a line break, the
// profile's name, its length, then its bytes in lines of hex digits.
std::string RawProfileText(std::string_view Name, const TBytes& Bytes);
// zlib data of Bytes.
TBytes Deflate(const TBytes& Bytes);

// RIFF: a chunk's four-letter type, little-endian size, data and a pad byte
// when the size is odd; a WebP file of chunks (a stand-in VP8L picture
// chunk comes first unless Chunks holds one).
TBytes RiffChunk(std::string_view Type, const TBytes& Data);
TBytes WebpFile(const std::vector<TBytes>& Chunks);

// ISO base media: a box of Type around Payload; a full box adds a version
// and 24 bits of flags.
TBytes Box(std::string_view Type, const TBytes& Payload);
TBytes FullBox(std::string_view Type, uint8_t Version, uint32_t Flags, const TBytes& Payload);

// An image file of items, as HEIF and AVIF files are laid out: "ftyp", then
// "meta" (hdlr, pitm, iinf, iloc, iref, iprp, idat), then "mdat" holding the
// items' bytes that do not lie in "idat".
struct THeifItem {
  uint32_t Id = 0;
  std::string Type;          // "hvc1", "Exif", "mime" ...
  std::string ContentType;   // of a "mime" item
  TBytes Data;
  bool InItemData = false;   // in "idat" (construction method 1), else in "mdat"
  int Extents = 1;           // the data cut into this many extents
  std::optional<uint32_t> Describes;  // a "cdsc" reference to this item
};

struct THeifLayout {
  std::string MajorBrand = "heic";
  std::vector<std::string> CompatibleBrands = {"mif1", "heic"};
  uint32_t Primary = 1;
  std::vector<THeifItem> Items;
  uint32_t Width = 64, Height = 48;  // ispe of the primary item
  std::optional<uint8_t> Turn;       // irot of the primary item
  int Version = 0;                   // of pitm, iinf entries (2 or 3), iloc, iref: 0 for 16-bit ids, 1 for 32
};
TBytes HeifFile(const THeifLayout& Layout);

// An Exif item's data: the count of bytes to the TIFF header, "Exif\0\0",
// then Tiff.
TBytes HeifExifItemData(const TBytes& Tiff);

// Canon CR3: "ftyp" of brand "crx ", "moov" holding Canon's metadata "uuid"
// box (CMT1 to CMT4, TIFF blocks, and THMB, the thumbnail after its 16-byte
// header, each written when given), the XMP "uuid" box, the preview "uuid"
// box (8 bytes, then PRVW: its 16-byte header and the JPEG), then "mdat".
struct TCr3Layout {
  std::optional<TBytes> Cmt1, Cmt2, Cmt3, Cmt4;
  std::optional<TBytes> Thumbnail;
  std::optional<TBytes> Preview;
  std::string Xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
  TBytes RawData = BytesOf("raw sensor data");
};
TBytes Cr3File(const TCr3Layout& Layout);

// Fujifilm RAF: the header ("FUJIFILMCCD-RAW ", a version, the camera's
// name; the JPEG's big-endian position and length at 84 and 88), the JPEG
// at 148, then RawData.
TBytes RafFile(const TBytes& Jpeg, const TBytes& RawData = BytesOf("CFA data"));
