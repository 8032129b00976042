// XMP packets (Adobe's Extensible Metadata Platform: RDF/XML) read into rows
// of the XMP tab, one per leaf value, through expat. Private to the reader.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ByteBuffer.h"
#include "Containers.h"
#include "MetadataRecords.h"

// No packet above this size is read, and Extended XMP is joined up to it.
constexpr int64_t MaxXmpBytes = int64_t{64} << 20;
// A packet that one place of a file holds (a segment, chunk, item, box or
// tag), or a sidecar, is read up to this size: the largest real ones, with
// long histories and thumbnails, hold some megabytes.
constexpr int64_t MaxPacketBytes = int64_t{16} << 20;

// Whether bytes can start an XMP packet: a byte order mark, a blank or "<"
// in UTF-8, UTF-16 or UTF-32. What is not is not read any further.
bool MayStartXmpPacket(std::span<const uint8_t> First);

// Appends the rows of one packet, as stored (UTF-8, UTF-16 or UTF-32, with
// or without the packet wrapper; padding and zero bytes after it are
// ignored), to Rows. A packet that is not well-formed keeps the rows read
// before the fault and ends with a row "(error)" "XML Error" "line L, column
// C: MESSAGE"; so does one that declares a document type, which is refused
// at its start, and one that nests too deep or would hold more text than its
// size allows. Rows of a sidecar file are marked and named so.
void ReadXmpPacket(std::span<const uint8_t> Packet, std::vector<TXmpProperty>& Rows, bool Sidecar = false);

// The GUID of the Extended XMP that Rows name (xmpNote:HasExtendedXMP);
// empty when they name none.
std::string_view ExtendedXmpGuid(std::span<const TXmpProperty> Rows);

// The Extended XMP packet whose GUID is Guid, its Parts (those of that GUID)
// joined by their offsets; nothing when a part is missing or does not fit,
// the parts disagree on the length, the packet would exceed MaxXmpBytes, or
// its MD5 digest is not the GUID.
std::optional<TByteBuffer> JoinExtendedXmp(TMemoryStream& File, std::span<const TXmpExtensionPart> Parts,
                                           std::string_view Guid);

// The bytes of the sidecar file beside FileName: the first that exists of
// NAME.EXT.xmp, NAME.EXT.XMP, NAME.xmp and NAME.XMP (one stat call each,
// none after the first found); nothing when there is none, or it cannot be
// read, or it holds more than MaxPacketBytes.
std::optional<TByteBuffer> ReadXmpSidecar(const std::string& FileName);
