// A small writer of TIFF structures, EXIF segments and JPEG files, so that
// tests can build exact bytes in either byte order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "EXIF_Intf.h"

using TBytes = std::vector<uint8_t>;

enum class TByteOrder { Little, Big };

// Both byte orders, for tests that read the same structure in each; and the
// name a TIFF header gives each ("II", "MM").
inline constexpr TByteOrder BothOrders[] = {TByteOrder::Little, TByteOrder::Big};
inline std::string OrderName(TByteOrder Order) { return Order == TByteOrder::Big ? "MM" : "II"; }

// A directory of entries. Values that fit in 4 bytes are written into the
// entry; larger ones after the directory, at an offset from the TIFF header.
class TIfd {
 public:
  struct TEntry {
    uint16_t Tag = 0;
    uint16_t Type = 0;
    uint32_t Count = 0;
    size_t ElementSize = 1;           // bytes per element, swapped by the byte order
    std::vector<uint64_t> Elements;   // the value's elements
    std::optional<uint32_t> RawField; // the value field written as is (in the byte order)
    std::shared_ptr<TIfd> Child;      // a sub-directory the field points at
    std::vector<std::shared_ptr<TIfd>> Children;  // sub-directories whose offsets the field points at
    std::optional<TBytes> Blob;       // bytes the field points at (a thumbnail, a maker note)
    bool Inline() const { return Elements.size() * ElementSize <= 4; }
  };

  TIfd& Byte(uint16_t Tag, std::vector<uint8_t> Values, uint16_t Type = ftByte);
  TIfd& Ascii(uint16_t Tag, std::string_view Text);  // with its closing zero byte
  TIfd& Undefined(uint16_t Tag, TBytes Bytes);
  TIfd& Short(uint16_t Tag, std::vector<uint16_t> Values, uint16_t Type = ftShort);
  TIfd& Long(uint16_t Tag, std::vector<uint32_t> Values, uint16_t Type = ftLong);
  TIfd& Rational(uint16_t Tag, std::vector<std::pair<uint32_t, uint32_t>> Values,
                 uint16_t Type = ftRational);
  TIfd& Float(uint16_t Tag, float Value);
  TIfd& Double(uint16_t Tag, std::vector<double> Values);
  // An entry whose value field is written exactly as given.
  TIfd& Raw(uint16_t Tag, uint16_t Type, uint32_t Count, uint32_t ValueField);
  // A LONG entry holding the offset of a sub-directory.
  TIfd& SubIfd(uint16_t Tag, std::shared_ptr<TIfd> Child);
  // A LONG entry of sub-directories (SubIFDs): its field holds the offset of
  // the one, or of the offsets of several.
  TIfd& SubIfds(uint16_t Tag, std::vector<std::shared_ptr<TIfd>> Children);
  // An entry of the given type and count whose field holds the offset of Bytes.
  TIfd& BlobAt(uint16_t Tag, uint16_t Type, uint32_t Count, TBytes Bytes);

  // The count written before the entries; by default the number of entries.
  std::optional<uint16_t> CountOverride;
  // The directory that the link after the entries points at (IFD 1 after IFD 0).
  std::shared_ptr<TIfd> Next;
  std::vector<TEntry> Entries;
};

// TIFF data: the 8-byte header, Gap filler bytes (0xAB), IFD 0, then
// everything it points at.
TBytes TiffBlock(const TIfd& IFD0, TByteOrder Order = TByteOrder::Little, size_t Gap = 0);

// TIFF data with Make (and Model, when not empty) in IFD 0 and a maker note
// in the EXIF sub-IFD. Note makes the note's bytes given the note's offset
// from the TIFF header (the base of the offsets inside it); it is called
// twice, once to find where the note lands and once with that offset.
TBytes TiffWithMakerNote(const std::string& Make, const std::function<TBytes(uint32_t)>& Note,
                         TByteOrder Order = TByteOrder::Little, const std::string& Model = "");

// Little- or big-endian numbers, for bytes written by hand.
TBytes U16(uint16_t Value, TByteOrder Order = TByteOrder::Little);
TBytes U32(uint32_t Value, TByteOrder Order = TByteOrder::Little);

// A JPEG marker segment: 0xFF, the marker, the big-endian length, the payload.
TBytes Segment(uint8_t Marker, const TBytes& Payload);
// The EXIF APP1 segment around TIFF data ("Exif", two zero bytes, the data).
TBytes ExifSegment(const TBytes& Tiff, std::string_view Identifier = "Exif");
// A comment segment.
TBytes CommentSegment(std::string_view Text);
// SOI, the segments, then a minimal scan and EOI.
TBytes JpegWith(const std::vector<TBytes>& Segments);
// The same segments placed after the SOI of a real JPEG file.
TBytes InsertAfterSoi(const TBytes& Jpeg, const std::vector<TBytes>& Segments);

TBytes Concat(const std::vector<TBytes>& Parts);
TBytes BytesOf(std::string_view Text);

// Loads bytes into a document as a file's contents.
void LoadBytes(TEXIF& Doc, const TBytes& Bytes);
