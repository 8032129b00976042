// Photoshop image resources: a sequence of blocks, each a four-letter
// signature ("8BIM"), a 16-bit resource id, a name (a length byte and that
// many bytes, padded to an even size), a 32-bit size and the data, padded to
// an even size; numbers are big-endian. Resource 0x0404 holds the IPTC
// records. Layout: Adobe's Photoshop file formats document, "Image
// Resource Blocks"; the other signatures are those ExifTool's Photoshop
// module accepts.
#include <algorithm>
#include <array>
#include <string_view>

#include "IptcReader.h"
#include "SpanReader.h"

namespace {

// The signatures image resource blocks are written with.
constexpr std::array<std::string_view, 5> ResourceSignatures{"8BIM", "PHUT", "DCSR", "AgHg", "MeSa"};

constexpr uint16_t IptcResource = 0x0404;

bool IsResourceSignature(std::span<const uint8_t> Bytes) {
  const std::string_view Signature(reinterpret_cast<const char*>(Bytes.data()), Bytes.size());
  return std::find(ResourceSignatures.begin(), ResourceSignatures.end(), Signature) != ResourceSignatures.end();
}

}  // namespace

bool MayStartPhotoshopResources(std::span<const uint8_t> First) {
  return First.size() >= 4 && IsResourceSignature(First.first(4));
}

// Every block moves the walk on by at least 12 bytes; it ends at the first
// block that is not whole.
std::optional<TSpanRange> PhotoshopIptc(std::span<const uint8_t> Resources) {
  TSpanReader Reader(Resources);
  while (Reader.Remaining() >= 12) {
    if (!IsResourceSignature(Reader.Bytes(4))) return std::nullopt;
    const uint16_t Id = Reader.U16();
    const uint8_t NameLength = Reader.U8();
    Reader.Skip(NameLength + (NameLength % 2 == 0 ? 1u : 0u));
    const uint32_t Size = Reader.U32();
    const size_t Data = Reader.Position();
    Reader.Skip(Size);
    if (!Reader.Ok()) return std::nullopt;
    if (Id == IptcResource) return TSpanRange{Data, Size};
    if (Size % 2 != 0 && Reader.Remaining() > 0) Reader.Skip(1);
  }
  return std::nullopt;
}
