// The one TIFF parser: turns the TIFF blocks a container reader found into
// the document's lists. It walks IFD 0, IFD 1, the EXIF, Interoperability
// and GPS directories and the maker note, decodes each known entry's value,
// and cuts the thumbnail out of the file. It is tolerant: bad metadata is
// never an error, a directory's walk just ends at its first fault and keeps
// what it stored. Private to the reader.
#pragma once

#include <cstdint>

#include "Containers.h"
#include "EXIF_Intf.h"
#include "TiffData.h"

struct TTagTable;
struct TSettingsArray;
struct TWalkEnd;

// What one load may still store: records and bytes of text, bounded by the
// size of the file (see TEXIF::RecordLimit and TextLimit) and shared by all
// the blocks it reads.
struct TLoadBudget {
  int64_t RecordsLeft = 0;
  int64_t TextBytesLeft = 0;
};

class TTiffParser {
 public:
  // Parses into Doc, reading through File, which holds the block's bytes.
  // IFD 0's XMP and IPTC go to Found's lists, when it is given.
  TTiffParser(TEXIF& Doc, TMemoryStream& File, TLoadBudget& Budget, TMetadataLayout* Found = nullptr);

  // Reads one block into the document's lists; blocks read one after another
  // add to the same lists. Only a file that cannot be read ends a parse with
  // an error. The stream's position is 0 again afterwards.
  void Parse(const TTiffBlock& Block);

 private:
  using TTagList = std::vector<TEXIFTag>;

  void ParseDirectories(const TTiffBlock& Block);
  bool ReadTIFF(const TTiffBlock& Block);
  bool ReadHeader(uint32_t& FirstOffset);
  void ReadIFD0(uint16_t Count);
  void ReadIFD1();
  void ReadSubDirectory(int64_t Offset, const TTagTable& Table, TTagList& List, TDirectoryKind Kind,
                        bool AlsoPointers);
  void ReadGPS(int64_t Offset);
  void ReadThumbnail();
  template <class TVisit>
  void WalkEntries(uint16_t Count, const TTagTable& Table, const TWalkEnd& End, TVisit&& Visit);
  TTiffNumbers Numbers();
  bool ReadCount(int64_t Offset, uint16_t& Count);
  int64_t PointerOffset(uint16_t Tag) const;
  TEXIFTag& NewRecord(TTagList& List);
  void Store(TTagList& List, const TEXIFTagHeader& Header, const TDirectoryEntry& Entry, TDirectoryKind Kind);
  void StorePointer(const TEXIFTagHeader& Header, const TDirectoryEntry& Entry);
  void DetectMaker(int32_t MakeAt);
  std::string_view MakeText() const;
  std::string_view ModelText() const;
  // IFD 0's XMP packet and IPTC records (EmbeddedMetadata.cpp).
  void NoteEmbeddedMetadata(const TDirectoryEntry& Entry);

  // Value decoding (ValueDecoder.cpp).
  void DecodeValue(const TDirectoryEntry& Entry, TDirectoryKind Kind, TEXIFTag& Target);
  void DecodeText(const TDirectoryEntry& Entry, TEXIFTag& Target);
  void DecodeRationals(TEXIFTag& Target, bool Signed);
  void DecodeDoubles(TEXIFTag& Target);
  void DecodeFirstNumber(const TDirectoryEntry& Entry, TEXIFTag& Target);
  void DecodeNumberList(const TDirectoryEntry& Entry, TEXIFTag& Target);
  uint32_t ReadStoredNumber(TTiffNumbers& Tiff, size_t Size);

  // Maker notes (MakerNote.cpp).
  void ReadMakerNote(int64_t NoteOffset);
  void ReadSettings(const TDirectoryEntry& Entry, const TSettingsArray& Array);

  TEXIF& FDoc;
  TMemoryStream& FFile;
  // The block being read: where its TIFF header lies (every offset in it
  // counts from there) and its byte order.
  uint32_t FIFD0Offset = 0;
  bool FSwap = false;
  // The directory pointers this block stored start here in the document's
  // pointer list: a block's offsets point into the block itself.
  size_t FFirstPointer = 0;
  // Where the value offsets of the maker note's entries count from.
  int64_t FMakerNoteBase = 0;
  // Position after the last entry read by the EXIF, Interoperability and GPS
  // walks; a read that ends there again made no progress.
  int64_t FLastEntryEnd = -1;
  TLoadBudget& FBudget;
  TMetadataLayout* FFound;
};
