#include "MetadataWriter.h"

namespace {

TBytes Big16(uint32_t Value) { return U16(static_cast<uint16_t>(Value), TByteOrder::Big); }
TBytes Big32(uint32_t Value) { return U32(Value, TByteOrder::Big); }

// The namespaces of the prefixes the tests' packets use.
constexpr std::string_view Namespaces =
    " xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'"
    " xmlns:dc='http://purl.org/dc/elements/1.1/'"
    " xmlns:xmp='http://ns.adobe.com/xap/1.0/'"
    " xmlns:xmpNote='http://ns.adobe.com/xmp/note/'"
    " xmlns:exif='http://ns.adobe.com/exif/1.0/'"
    " xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/'"
    " xmlns:mwg-rs='http://www.metadataworkinggroup.com/schemas/regions/'"
    " xmlns:stArea='http://ns.adobe.com/xmp/sType/Area#'";

}  // namespace

std::string XmpPacket(std::string_view Body) {
  std::string Packet = "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>\n<x:xmpmeta xmlns:x='adobe:ns:meta/'>";
  ((Packet += "<rdf:RDF") += Namespaces) += ">\n";
  Packet += Body;
  Packet += "\n</rdf:RDF></x:xmpmeta>\n";
  Packet += std::string(64, ' ');
  Packet += "\n<?xpacket end='w'?>";
  return Packet;
}

TBytes XmpSegment(std::string_view Packet) {
  return Segment(0xE1, Concat({BytesOf(std::string_view("http://ns.adobe.com/xap/1.0/\0", 29)), BytesOf(Packet)}));
}

TBytes XmpExtensionSegment(std::string_view Guid, uint32_t FullLength, uint32_t Offset, std::string_view Part) {
  return Segment(0xE1, Concat({BytesOf(std::string_view("http://ns.adobe.com/xmp/extension/\0", 35)), BytesOf(Guid),
                               Big32(FullLength), Big32(Offset), BytesOf(Part)}));
}

TBytes IptcDataset(uint8_t Record, uint8_t Dataset, const TBytes& Data) {
  const TBytes Length = Data.size() < 0x8000 ? Big16(static_cast<uint32_t>(Data.size()))
                                             : Concat({Big16(0x8004), Big32(static_cast<uint32_t>(Data.size()))});
  return Concat({{0x1C, Record, Dataset}, Length, Data});
}

TBytes IptcDataset(uint8_t Record, uint8_t Dataset, std::string_view Text) {
  return IptcDataset(Record, Dataset, BytesOf(Text));
}

TBytes PhotoshopResource(uint16_t Id, const TBytes& Data) {
  TBytes Block = Concat({BytesOf("8BIM"), Big16(Id), {0, 0}, Big32(static_cast<uint32_t>(Data.size())), Data});
  if (Data.size() % 2 != 0) Block.push_back(0);
  return Block;
}

TBytes PhotoshopSegment(const TBytes& Resources) {
  return Segment(0xED, Concat({BytesOf(std::string_view("Photoshop 3.0\0", 14)), Resources}));
}
