// Container readers: one per kind of file (JPEG, TIFF, PNG, WebP, ISO base
// media), chosen by one table from the file's first bytes. A container reader
// finds where its file keeps metadata: the TIFF blocks the TIFF parser
// reads, XMP packets, the IPTC block, the JPEG comment, an embedded
// thumbnail of its own, and where the picture is. It reads no pixel data.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ByteBuffer.h"
#include "MemoryStream.h"
#include "PictureLocation.h"

// The directory a TIFF block's header points at. A file's EXIF block starts
// with IFD 0; some containers keep the EXIF, maker-note or GPS directory in a
// block of its own.
enum class TFirstDirectory : uint8_t { IFD0, EXIF, MakerNote, GPS };

// How a block's TIFF header is read. In a JPEG file's EXIF segment IFD 0 is
// taken to follow the header directly, whatever the header's offset says,
// and a second IFD 0 may stand where that offset points, a position in the
// JPEG file; everywhere else IFD 0 is where the header says, as in a TIFF
// file.
enum class TTiffRules : uint8_t { JpegSegment, TiffFile };

struct TTiffBlock {
  TByteRange Range;  // from the TIFF header on
  TFirstDirectory First = TFirstDirectory::IFD0;
  TTiffRules Rules = TTiffRules::TiffFile;
  // When set, the block's bytes (Range counts in them), not the file's.
  std::shared_ptr<const TByteBuffer> Decoded;
  // Where the JPEG file of a JpegSegment block starts: a JPEG file embedded
  // in a raw file counts its positions from its own start.
  int64_t JpegStart = 0;
  // Set when the container keeps IFD 0, the EXIF directory, the maker note
  // and the GPS directory in blocks of their own (CR3): a block's pointers
  // to the others, and IFD 0's link to IFD 1, are not followed.
  bool DirectoriesApart = false;
};

// Metadata that is not TIFF data: a range of the file, or of bytes a
// container had to decode or join first (Decoded set).
struct TMetadataBytes {
  TByteRange Range;
  std::shared_ptr<const TByteBuffer> Decoded;
};

// One part of a JPEG file's Extended XMP (an APP1 segment of Adobe's
// extension namespace): the GUID of the packet it belongs to (32 hex
// digits), the packet's full length, where the part goes in it, and the
// part's bytes.
struct TXmpExtensionPart {
  std::array<char, 32> Guid{};
  uint32_t FullLength = 0;
  uint32_t Offset = 0;
  TByteRange Data;
};

struct TMetadataLayout {
  std::string_view Format = "unknown";
  std::vector<TTiffBlock> TiffBlocks;
  // XMP packets in the order their rows are shown: JPEG APP1, PNG iTXt,
  // WebP "XMP ", the HEIF/AVIF "mime" item, the ISO base media "uuid" box
  // of XMP (CR3), then IFD 0's tag 700 as the TIFF parser finds it.
  std::vector<TMetadataBytes> XmpPackets;
  std::vector<TXmpExtensionPart> XmpExtension;
  // The IPTC records (IIM datasets): the first found of a JPEG file's
  // resource 0x0404 in its joined APP13 "Photoshop 3.0" segments, IFD 0's
  // tag 33723, and resource 0x0404 of IFD 0's tag 34377.
  std::optional<TMetadataBytes> Iptc;
  std::optional<std::string> Comment;
  // A thumbnail the container keeps outside the TIFF blocks (CR3); IFD 1's
  // comes first.
  std::optional<TByteRange> Thumbnail;
  TPictureLocation Picture;
};

// One kind of file: its name, whether a file's first bytes are of its kind,
// and the reader that lays out such a file. Readers read through the file's
// stream only, leave its position anywhere, and throw only when the file
// itself cannot be read (EFileReadError); bad structure ends their walk.
struct TContainerKind {
  std::string_view Format;
  bool (*Recognises)(std::span<const uint8_t> First);
  void (*Read)(TMemoryStream& File, TMetadataLayout& Layout);
};

// How many of a file's first bytes the recognisers look at.
constexpr size_t RecognisedBytes = 32;

void ReadJpegLayout(TMemoryStream& File, TMetadataLayout& Layout);
void ReadTiffLayout(TMemoryStream& File, TMetadataLayout& Layout);
void ReadPngLayout(TMemoryStream& File, TMetadataLayout& Layout);
void ReadWebpLayout(TMemoryStream& File, TMetadataLayout& Layout);
void ReadIsoMediaLayout(TMemoryStream& File, TMetadataLayout& Layout);
void ReadRafLayout(TMemoryStream& File, TMetadataLayout& Layout);

bool IsJpeg(std::span<const uint8_t> First);
bool IsTiff(std::span<const uint8_t> First);
bool IsPng(std::span<const uint8_t> First);
bool IsWebp(std::span<const uint8_t> First);
bool IsIsoMedia(std::span<const uint8_t> First);
bool IsRaf(std::span<const uint8_t> First);

// The segments of the JPEG file in Jpeg (a JPEG file's whole data, or the
// JPEG a raw file embeds), read into Layout as a JPEG file's are.
void ReadJpegSegments(TMemoryStream& File, TByteRange Jpeg, TMetadataLayout& Layout);

// The JPEG previews a camera stored in TIFF-structured raw data whose TIFF
// header lies at Header: images of IFD 0 and of its SubIFDs stored as JPEG,
// Panasonic's JpgFromRaw, and the previews the Olympus and Pentax maker notes
// point at. Each range lies within the file. IFD 1's thumbnail is not one.
std::vector<TByteRange> FindTiffPreviews(TMemoryStream& File, int64_t Header);

// The layout of the file in File: the reader of the first kind that
// recognises its first bytes, or an unknown file with no metadata.
TMetadataLayout ReadLayout(TMemoryStream& File);
