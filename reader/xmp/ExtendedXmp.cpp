// Extended XMP: a packet too large for one JPEG segment is cut into parts
// of the extension namespace's APP1 segments, each saying the GUID of the
// packet, the packet's full length and the part's offset in it; the GUID is
// the MD5 digest of the whole packet, in 32 hexadecimal digits, and the
// standard packet names it in xmpNote:HasExtendedXMP. Layout: Adobe's XMP
// documents, Part 3, section 1.1.3.1.
#include <algorithm>

#include "Md5.h"
#include "XmpReader.h"

namespace {

bool SameGuid(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           const auto Upper = [](char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; };
           return Upper(X) == Upper(Y);
         });
}

}  // namespace

std::optional<TByteBuffer> JoinExtendedXmp(TMemoryStream& File, std::span<const TXmpExtensionPart> Parts,
                                           std::string_view Guid) {
  std::vector<const TXmpExtensionPart*> Ours;
  for (const TXmpExtensionPart& Part : Parts)
    if (SameGuid(std::string_view(Part.Guid.data(), Part.Guid.size()), Guid)) Ours.push_back(&Part);
  if (Ours.empty()) return std::nullopt;
  const uint32_t FullLength = Ours.front()->FullLength;
  if (FullLength == 0 || FullLength > MaxXmpBytes) return std::nullopt;
  std::sort(Ours.begin(), Ours.end(),
            [](const TXmpExtensionPart* A, const TXmpExtensionPart* B) { return A->Offset < B->Offset; });
  // The parts must cover the packet from its start to its end, each one
  // inside it; a part sent twice does no harm.
  int64_t Covered = 0;
  for (const TXmpExtensionPart* Part : Ours) {
    if (Part->FullLength != FullLength || Part->Offset > Covered ||
        Part->Data.Length > int64_t{FullLength} - Part->Offset)
      return std::nullopt;
    Covered = std::max(Covered, Part->Offset + Part->Data.Length);
  }
  if (Covered != FullLength) return std::nullopt;
  // The parts lie in the file and cover the length: it is no mere claim.
  TByteBuffer Joined(FullLength);
  for (const TXmpExtensionPart* Part : Ours) {
    const TByteBuffer Bytes = File.Copy(Part->Data.Position, Part->Data.Length);
    if (static_cast<int64_t>(Bytes.size()) != Part->Data.Length) return std::nullopt;
    std::copy(Bytes.begin(), Bytes.end(), Joined.begin() + Part->Offset);
  }
  if (!SameGuid(Md5Hex(Joined), Guid)) return std::nullopt;
  return Joined;
}
