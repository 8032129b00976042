// IFD 0's XMP packet (tag 700, XMLPacket), IPTC records (tag 33723,
// IPTC-NAA) and Photoshop image resources (tag 34377), whose resource 0x0404
// holds IPTC records: the TIFF tags of Adobe's XMP documents, Part 3,
// section 1.1.4, and of ExifTool's EXIF tag reference. Their bytes are
// copied out of the block, whose offsets count in bytes a container may have
// decoded, for the XMP and IPTC readers to read once the parse is done.
#include "IptcReader.h"
#include "TiffParser.h"
#include "XmpReader.h"

namespace {

constexpr uint16_t XmpTag = 700;
constexpr uint16_t IptcTag = 33723;
constexpr uint16_t PhotoshopTag = 34377;

// Writers give these tags as BYTE or UNDEFINED, and tag 33723 as LONG too.
int64_t ElementSize(uint16_t Type) {
  switch (Type) {
    case ftShort:
    case ftSShort: return 2;
    case ftLong:
    case ftSLong: return 4;
    default: return 1;
  }
}

}  // namespace

void TTiffParser::NoteEmbeddedMetadata(const TDirectoryEntry& Entry) {
  if (FFound == nullptr || (Entry.Tag != XmpTag && Entry.Tag != IptcTag && Entry.Tag != PhotoshopTag)) return;
  if (Entry.Tag != XmpTag && FFound->Iptc) return;
  const int64_t Length = int64_t{Entry.Count} * ElementSize(Entry.Type);
  const int64_t Start = int64_t{FIFD0Offset} + Entry.ValueLong();
  // A tag whose first bytes cannot start what it holds is not read further.
  const TByteBuffer First = FFile.Copy(Start, 4);
  const bool Plausible = Entry.Tag == XmpTag ? MayStartXmpPacket(First)
                         : Entry.Tag == IptcTag ? MayStartIptc(First)
                                                : MayStartPhotoshopResources(First);
  if (Length <= 4 || Length > (Entry.Tag == XmpTag ? MaxPacketBytes : MaxIptcBytes) || !Plausible) return;
  auto Bytes = std::make_shared<TByteBuffer>(FFile.Copy(Start, Length));
  const auto Size = static_cast<int64_t>(Bytes->size());
  if (Entry.Tag == XmpTag) {
    FFound->XmpPackets.push_back({{0, Size}, std::move(Bytes)});
  } else if (Entry.Tag == IptcTag) {
    FFound->Iptc = TMetadataBytes{{0, Size}, std::move(Bytes)};
  } else if (const std::optional<TSpanRange> Iptc = PhotoshopIptc(*Bytes)) {
    FFound->Iptc = TMetadataBytes{{static_cast<int64_t>(Iptc->Offset), static_cast<int64_t>(Iptc->Length)},
                                  std::move(Bytes)};
  }
}
