// The document's XMP and IPTC rows, read from what the container reader and
// the TIFF parser found, and from the sidecar file.
#include <algorithm>

#include "Containers.h"
#include "EXIF_Intf.h"
#include "IptcReader.h"
#include "XmpReader.h"

std::optional<TByteBuffer> TEXIF::MetadataBytes(const TMetadataBytes& Bytes, int64_t Limit,
                                                bool (*MayStart)(std::span<const uint8_t> First)) {
  const TByteRange& Range = Bytes.Range;
  if (Range.Position < 0 || Range.Length < 0 || Range.Length > Limit) return std::nullopt;
  if (!Bytes.Decoded) {
    if (!MayStart(FFile.Copy(Range.Position, std::min<int64_t>(Range.Length, 4)))) return std::nullopt;
    return FFile.Copy(Range.Position, Range.Length);
  }
  const auto Size = static_cast<int64_t>(Bytes.Decoded->size());
  if (Range.Position > Size || Range.Length > Size - Range.Position) return std::nullopt;
  const auto Start = Bytes.Decoded->begin() + Range.Position;
  return TByteBuffer(Start, Start + Range.Length);
}

// Each packet in order; the first that names an Extended XMP packet, in a
// file that has its parts, is followed by it.
void TEXIF::ReadXmp(const TMetadataLayout& Layout) {
  bool ExtensionRead = Layout.XmpExtension.empty();
  for (const TMetadataBytes& Packet : Layout.XmpPackets) {
    const std::optional<TByteBuffer> Bytes = MetadataBytes(Packet, MaxPacketBytes, MayStartXmpPacket);
    if (!Bytes) continue;
    const size_t First = FXmp.size();
    ReadXmpPacket(*Bytes, FXmp);
    if (ExtensionRead) continue;
    const std::string Guid(ExtendedXmpGuid(std::span<const TXmpProperty>(FXmp).subspan(First)));
    if (Guid.empty()) continue;
    ExtensionRead = true;
    if (const std::optional<TByteBuffer> Extension = JoinExtendedXmp(FFile, Layout.XmpExtension, Guid))
      ReadXmpPacket(*Extension, FXmp);
  }
}

void TEXIF::ReadIptc(const TMetadataLayout& Layout) {
  if (!Layout.Iptc) return;
  if (const std::optional<TByteBuffer> Bytes = MetadataBytes(*Layout.Iptc, MaxIptcBytes, MayStartIptc))
    ReadIptcRecords(*Bytes, FIptc);
}

void TEXIF::ReadSidecar() {
  if (const std::optional<TByteBuffer> Bytes = ReadXmpSidecar(FFilename)) ReadXmpPacket(*Bytes, FXmp, true);
}
