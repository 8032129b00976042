// Writers of the XMP and IPTC that files carry besides EXIF: XMP packets and
// the JPEG segments of standard and Extended XMP, IPTC datasets, Photoshop
// image resources and the APP13 segments that carry them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ExifWriter.h"

// An XMP packet: the wrapper, x:xmpmeta and rdf:RDF around Body (the
// descriptions), with the namespaces of the prefixes Body uses declared.
std::string XmpPacket(std::string_view Body);

// A JPEG APP1 segment of standard XMP around Packet.
TBytes XmpSegment(std::string_view Packet);
// A JPEG APP1 segment of Extended XMP: the GUID, the full length of the
// packet, the offset of Part in it, then Part.
TBytes XmpExtensionSegment(std::string_view Guid, uint32_t FullLength, uint32_t Offset, std::string_view Part);

// An IPTC dataset; a length of 32768 or more is written in the extended form.
TBytes IptcDataset(uint8_t Record, uint8_t Dataset, const TBytes& Data);
TBytes IptcDataset(uint8_t Record, uint8_t Dataset, std::string_view Text);

// A Photoshop image resource block ("8BIM", the id, an empty name, the size,
// the data padded to an even size).
TBytes PhotoshopResource(uint16_t Id, const TBytes& Data);
// A JPEG APP13 segment: "Photoshop 3.0\0" and Resources.
TBytes PhotoshopSegment(const TBytes& Resources);
