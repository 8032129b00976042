// EXIF_Intf: the document object TEXIF, which reads the EXIF metadata of a
// JPEG or TIFF file into one list of decoded tags per directory.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "EXIF_Defs.h"
#include "JpegImage.h"
#include "MemoryStream.h"
#include "MetadataRecords.h"
#include "PictureLocation.h"

// The parser's own types (reader/internal).
struct TDirectoryEntry;
class TTiffParser;
struct TMetadataLayout;
struct TMetadataBytes;

class TEXIF {
 public:
  TEXIF();
  ~TEXIF();
  TEXIF(const TEXIF&) = delete;
  TEXIF& operator=(const TEXIF&) = delete;
  TEXIF(TEXIF&&) = default;
  TEXIF& operator=(TEXIF&&) = default;

  // Empties the lists, the XMP and IPTC rows, the comment and the file name.
  void Clear();

  // Loads a file. A name under which no file exists (or a folder) changes
  // nothing (LoadExistingFile says so instead). Only the blocks of the file
  // that the metadata lies in are read. The XMP of a sidecar file beside it
  // (ReadXmpSidecar) follows the file's own.
  // A file that exists but cannot be opened or read, or is not a regular
  // file, throws its error (Cannot open file "NAME". <reason>, or Cannot read
  // file ...) and the document stays exactly as it was: a load parses into a
  // fresh document and takes it over only when the parse has succeeded.
  void LoadFromFile(const std::string& FileName);
  // The same, but a name under which no file exists is an error too:
  // EFileOpenError, "Cannot open file "NAME". No such file or directory".
  // A caller that has listed the file's folder and seen no name ending in
  // ".xmp" (a library's walk) says so, and spares the load its four lookups
  // of sidecar names, which cost a photo's reading a quarter more.
  enum TSidecarLookup { slLook, slNoneInFolder };
  void LoadExistingFile(const std::string& FileName, TSidecarLookup Sidecar = slLook);
  // Loads all of Stream's bytes, from its start; rewinds the stream after.
  void LoadFromStream(std::istream& Stream);
  // Loads bytes already in memory (FileName stays empty).
  void LoadFromBytes(TByteBuffer Bytes);
  // The same for bytes the caller keeps: they are read during the call only,
  // and not copied (standard input, held once however often it is named).
  void LoadFromMemory(std::span<const uint8_t> Bytes);

  int32_t TIFFCount() const { return Count(FTIFF); }
  int32_t EXIFCount() const { return Count(FEXIF); }
  int32_t EXIF_IFD1Count() const { return Count(FIFD1); }
  int32_t INTEROPCount() const { return Count(FINTEROP); }
  int32_t GPSCount() const { return Count(FGPS); }
  int32_t MakerNoteCount() const { return Count(FMN); }
  TMakerNoteFormat MakerNoteFormat() const { return FMNF; }
  const std::string& Comment() const { return FComment; }
  const std::string& FileName() const { return FFilename; }
  // The kind of file the last load found: "JPEG", "TIFF", "PNG", "WebP",
  // "HEIF", "AVIF", or "unknown" (a file no container reader knows).
  std::string_view FileFormat() const { return FFormat; }
  // Where the file keeps the picture the Image tab shows.
  const TPictureLocation& Picture() const { return FPicture; }
  // The thumbnail of IFD 1, or null; owned by the document. Its bytes are
  // copied while the file is parsed but handed to libjpeg only here, on the
  // first call after a load: opening a file shows its tags without paying
  // for a thumbnail nobody has looked at yet. Bytes whose JPEG header libjpeg
  // cannot read give no thumbnail, and so does a thumbnail above
  // MaxThumbnailBytes, which no camera writes.
  const TJPEGImage* Thumbnail() const;

  // Copies of the record at Index; an index past the end gives the empty record.
  TEXIFTag TIFFTag(uint16_t Index) const { return At(FTIFF, Index); }
  TEXIFTag EXIFTag(uint16_t Index) const { return At(FEXIF, Index); }
  TEXIFTag INTEROPTag(uint16_t Index) const { return At(FINTEROP, Index); }
  TEXIFTag MakerNoteTag(uint16_t Index) const { return At(FMN, Index); }
  TEXIFTag EXIF_IFD1Tag(uint16_t Index) const { return At(FIFD1, Index); }
  TEXIFTag GPSTag(uint16_t Index) const { return At(FGPS, Index); }

  // The records of a list in place, for loops over all of them.
  std::span<const TEXIFTag> TIFFRecords() const { return FTIFF; }
  std::span<const TEXIFTag> EXIFRecords() const { return FEXIF; }
  std::span<const TEXIFTag> INTEROPRecords() const { return FINTEROP; }
  std::span<const TEXIFTag> MakerNoteRecords() const { return FMN; }
  std::span<const TEXIFTag> EXIF_IFD1Records() const { return FIFD1; }
  std::span<const TEXIFTag> GPSRecords() const { return FGPS; }

  // The XMP rows: the file's packets in order (an Extended XMP packet after
  // the packet that names it), then the sidecar's. The IPTC rows: the
  // datasets of the file's IPTC block, in order.
  std::span<const TXmpProperty> XmpProperties() const { return FXmp; }
  std::span<const TIptcDataset> IptcDatasets() const { return FIptc; }

  // The first record with this tag number; the empty record when there is none.
  TEXIFTag FindTIFFTag(uint16_t Tag) const { return Find(FTIFF, Tag); }
  TEXIFTag FindIFDTag(uint16_t Tag) const { return Find(FIFD, Tag); }
  TEXIFTag FindIFD1Tag(uint16_t Tag) const { return Find(FIFD1, Tag); }

  // What a load may hold, by the size of the file. Real files stay far below:
  // a record stands for a 12-byte directory entry, and texts are copies of
  // the file's bytes. Only a hostile file, whose entries all point at the
  // same long text or settings array, could otherwise make a few megabytes
  // of file cost gigabytes of memory. Past the limits a walk ends, and texts
  // past the text limit stay empty.
  static int64_t RecordLimit(int64_t FileSize) { return FileSize / 6 + 1024; }
  static int64_t TextLimit(int64_t FileSize) { return 2 * FileSize + 65536; }
  // Positions are 16-bit: a list holds at most this many records, and a walk
  // ends when its list is full.
  static constexpr size_t MaxListRecords = 65536;
  static constexpr int64_t MaxThumbnailBytes = int64_t{16} << 20;

 private:
  friend struct TEXIFInternals;  // what tests and fuzzers see of the parse (DocumentInternals.h)
  using TTagList = std::vector<TEXIFTag>;

  // Loads what File holds, under FileName: LoadFromFile with the file's
  // blocks read through File.
  void LoadFrom(TMemoryStream File, std::string FileName = {}, TSidecarLookup Sidecar = slLook);

  // A document for a load to parse into: its thumbnail object is made (or
  // not) by the parse.
  struct TForParse {};
  explicit TEXIF(TForParse) {}

  static int32_t Count(const TTagList& List) { return static_cast<int32_t>(List.size()); }
  static TEXIFTag At(const TTagList& List, uint16_t Index);
  static TEXIFTag Find(const TTagList& List, uint16_t Tag);

  // Runs the container reader of the file's kind, then the TIFF parser on
  // each block it found. The parser fills the lists and what it found of the
  // file's TIFF data.
  void Parse();
  friend class TTiffParser;
  // Takes over what the container reader found besides TIFF data.
  void TakeLayout(TMetadataLayout& Layout);
  // The XMP and IPTC rows of what the container and the TIFF parser found,
  // and of the sidecar (XmpIptc.cpp).
  void ReadXmp(const TMetadataLayout& Layout);
  void ReadIptc(const TMetadataLayout& Layout);
  void ReadSidecar();
  // Bytes of metadata as a buffer of their own, or nothing when they are
  // larger than Limit, or the first bytes of a range of the file are not
  // what MayStart expects there.
  std::optional<TByteBuffer> MetadataBytes(const TMetadataBytes& Bytes, int64_t Limit,
                                           bool (*MayStart)(std::span<const uint8_t> First));

  TMakerNoteFormat FMNF = mnfUnknown;
  // The position in FTIFF of the last Make tag that names a maker (-1: none);
  // with the note's first bytes it decides FMNF when the note is read.
  int32_t FMakeAt = -1;
  TTagList FTIFF;
  TTagList FEXIF;
  TTagList FINTEROP;
  TTagList FMN;
  TTagList FIFD;
  TTagList FIFD1;
  TTagList FGPS;
  uint16_t FSOI = 0;
  uint32_t FIFD0Offset = 0;
  uint32_t FIFD1Offset = 0;
  TMemoryStream FFile;
  // The byte order of the TIFF data ("MM") when the parse ended; a Fuji
  // maker note, always little-endian, leaves it cleared.
  bool FSwap = false;
  mutable std::unique_ptr<TJPEGImage> FThumbnail;
  // The bytes IFD 1 points at, still to be checked by libjpeg when not empty.
  mutable TByteBuffer FThumbnailBytes;
  std::string FFilename;
  std::string FComment;
  std::vector<TXmpProperty> FXmp;
  std::vector<TIptcDataset> FIptc;
  std::string_view FFormat = "unknown";
  TPictureLocation FPicture;
  // The lists of the document shown before, emptied: the next load parses
  // into them, so that file after file reuses their memory. Lists grown
  // large by a hostile file are not kept.
  static constexpr size_t ListsPerDocument = 7;
  static constexpr size_t MaxSpareRecords = 4096;
  std::array<TTagList, ListsPerDocument> FSpareLists;
  std::array<TTagList*, ListsPerDocument> Lists() {
    return {&FTIFF, &FEXIF, &FINTEROP, &FMN, &FIFD, &FIFD1, &FGPS};
  }
};

// The Orientation code of the document's IFD 0 (tag 0x0112): the integer
// part of its first value, 0 when the tag is absent.
int64_t OrientationCode(const TEXIF& Document);
