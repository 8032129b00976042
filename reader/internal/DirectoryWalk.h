// The one walk over a directory's entries, shared by every directory: IFD 0
// and IFD 1, the EXIF, Interoperability and GPS directories and the maker
// notes differ only in how their walk may end. Private to the reader.
#pragma once

#include "TagLookup.h"
#include "TiffData.h"
#include "TiffParser.h"

// How a walk ends, besides after its count of entries, at a short read, at
// an error, or when its list is full.
struct TWalkEnd {
  // At an entry with tag 0 that is not stored: the link after the last
  // entry. A table that knows tag 0 (GPS's Version ID, Fuji's version,
  // Minolta's signature) has its first one stored; a second one ends.
  bool AtZeroTag = false;
  // When a read ends where a read of this walk or an earlier one ended: the
  // end of the data (the EXIF, Interoperability and GPS directories).
  bool WithoutProgress = false;
  // When the position has reached the end of the data (maker notes).
  bool AtEndOfData = false;
  // At an entry with tag 0xFFFF (GPS).
  bool AtTag0xFFFF = false;
};

// Reads up to Count entries from the position, each brought to host order,
// and hands each one to Visit with the row of Table that names it, or null
// (a tag the table does not know, or a zero tag after the first).
template <class TVisit>
void TTiffParser::WalkEntries(uint16_t Count, const TTagTable& Table, const TWalkEnd& End, TVisit&& Visit) {
  TTiffNumbers Tiff = Numbers();
  bool ZeroStored = false;
  for (uint32_t Read = 0; Read < Count; ++Read) {
    TDirectoryEntry Entry;
    if (!Tiff.Entry(Entry)) return;
    if (End.WithoutProgress) {
      if (FFile.Position() == FLastEntryEnd) return;
      FLastEntryEnd = FFile.Position();
    }
    const bool Repeated = Entry.Tag == 0 && ZeroStored;
    const TEXIFTagHeader* Header = Repeated ? nullptr : FindTagHeader(Table, Entry.Tag);
    Visit(Entry, Header);
    if (Entry.Tag == 0 && Header != nullptr) ZeroStored = true;
    if (End.AtZeroTag && Entry.Tag == 0 && Header == nullptr) return;
    if (End.AtTag0xFFFF && Entry.Tag == 0xFFFF) return;
    if (End.AtEndOfData && FFile.Remaining() == 0) return;
  }
}
