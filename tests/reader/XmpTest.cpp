// XMP packets: the rows of every RDF form, in every encoding, and what a
// packet that is not well-formed keeps.
#include <gtest/gtest.h>

#include "MetadataWriter.h"
#include "TextCodec.h"
#include "XmpReader.h"
#include "xmp/XmpText.h"

namespace {

// The rows as "path|name|value" lines.
std::string Lines(std::span<const TXmpProperty> Rows) {
  std::string Text;
  for (const TXmpProperty& Row : Rows) Text += Row.Path + '|' + Row.Name + '|' + Row.Value + '\n';
  return Text;
}

std::string RowsOf(std::string_view Packet) {
  std::vector<TXmpProperty> Rows;
  ReadXmpPacket(BytesOf(Packet), Rows);
  return Lines(Rows);
}

struct TPacketCase {
  const char* What;
  std::string Body;
  const char* Rows;
};

TEST(Xmp, RowOfEachLeafInEveryRdfForm) {
  const TPacketCase Cases[] = {
      {"attributes and elements, blanks trimmed",
       "<rdf:Description rdf:about='' xmp:Rating='5' xmp:CreatorTool=' Tool '>"
       "<exif:DateTimeOriginal>\n  2024-05-06T07:08:09 </exif:DateTimeOriginal></rdf:Description>",
       "xmp:Rating|Rating|5\nxmp:CreatorTool|Creator Tool|Tool\n"
       "exif:DateTimeOriginal|Date Time Original|2024-05-06T07:08:09\n"},
      {"bags, sequences and language alternatives",
       "<rdf:Description><dc:subject><rdf:Bag><rdf:li>one</rdf:li><rdf:li>two</rdf:li></rdf:Bag></dc:subject>"
       "<dc:creator><rdf:Seq><rdf:li>Ann</rdf:li></rdf:Seq></dc:creator>"
       "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>Title</rdf:li><rdf:li xml:lang='de-DE'>Titel</rdf:li>"
       "</rdf:Alt></dc:title></rdf:Description>",
       "dc:subject[1]|Subject|one\ndc:subject[2]|Subject|two\ndc:creator[1]|Creator|Ann\n"
       "dc:title[x-default]|Title|Title\ndc:title[de-DE]|Title|Titel\n"},
      {"structs: parseType Resource, a description, fields as attributes",
       "<rdf:Description><exif:Flash rdf:parseType='Resource'><exif:Fired>True</exif:Fired></exif:Flash>"
       "<exif:Flash><rdf:Description exif:Mode='2'><exif:Return>0</exif:Return></rdf:Description></exif:Flash>"
       "<exif:Flash exif:Function='False'/></rdf:Description>",
       "exif:Flash/exif:Fired|Fired|True\nexif:Flash/exif:Mode|Mode|2\nexif:Flash/exif:Return|Return|0\n"
       "exif:Flash/exif:Function|Function|False\n"},
      {"structs in arrays in structs",
       "<rdf:Description><mwg-rs:Regions rdf:parseType='Resource'><mwg-rs:RegionList><rdf:Bag>"
       "<rdf:li rdf:parseType='Resource'><mwg-rs:Name>Ann</mwg-rs:Name>"
       "<mwg-rs:Area stArea:x='0.5' stArea:y='0.25'/></rdf:li>"
       "<rdf:li mwg-rs:Name='Bob'/></rdf:Bag></mwg-rs:RegionList></mwg-rs:Regions></rdf:Description>",
       "mwg-rs:Regions/mwg-rs:RegionList[1]/mwg-rs:Name|Name|Ann\n"
       "mwg-rs:Regions/mwg-rs:RegionList[1]/mwg-rs:Area/stArea:x|X|0.5\n"
       "mwg-rs:Regions/mwg-rs:RegionList[1]/mwg-rs:Area/stArea:y|Y|0.25\n"
       "mwg-rs:Regions/mwg-rs:RegionList[2]/mwg-rs:Name|Name|Bob\n"},
      {"resources, empty values, qualifiers",
       "<rdf:Description><xmp:BaseURL rdf:resource='http://example.com/'/><photoshop:History/>"
       "<dc:contributor><rdf:Bag><rdf:li rdf:parseType='Resource'><xmp:Label>editor</xmp:Label>"
       "<rdf:value>Ann</rdf:value></rdf:li></rdf:Bag></dc:contributor></rdf:Description>",
       "xmp:BaseURL|Base URL|http://example.com/\nphotoshop:History|History|\n"
       "dc:contributor[1]/?xmp:Label|Label|editor\ndc:contributor[1]|Contributor|Ann\n"},
      {"usual prefixes, else the document's",
       "<rdf:Description xmlns:ps='http://ns.adobe.com/photoshop/1.0/' xmlns:my='http://example.com/my/'"
       " ps:City='Bonn' my:GPSLatitude='1'><my:In35mmFilm>2</my:In35mmFilm></rdf:Description>",
       "photoshop:City|City|Bonn\nmy:GPSLatitude|GPS Latitude|1\nmy:In35mmFilm|In 35mm Film|2\n"},
      {"several descriptions",
       "<rdf:Description xmp:Rating='1'/><rdf:Description xmp:Label='Red'/>",
       "xmp:Rating|Rating|1\nxmp:Label|Label|Red\n"},
  };
  for (const TPacketCase& Case : Cases) EXPECT_EQ(RowsOf(XmpPacket(Case.Body)), Case.Rows) << Case.What;
  EXPECT_EQ(RowsOf("<x:xmpmeta xmlns:x='adobe:ns:meta/' x:xmptk='XMP Core 6.0.0'/>"), "x:xmptk|Xmptk|XMP Core 6.0.0\n");
}

// UTF-16 and UTF-32 code units of Text, which is UTF-8.
TBytes Encoded(std::string_view Text, size_t UnitSize, bool BigEndian, bool Mark) {
  std::u32string Points;
  for (size_t At = 0; At < Text.size();) {
    const auto Lead = static_cast<uint8_t>(Text[At]);
    const size_t Length = Lead < 0x80 ? 1 : Lead < 0xE0 ? 2 : Lead < 0xF0 ? 3 : 4;
    char32_t Point = Length == 1 ? Lead : Lead & (0x7F >> Length);
    for (size_t Next = 1; Next < Length; ++Next) Point = Point << 6 | (static_cast<uint8_t>(Text[At + Next]) & 0x3F);
    Points += Point;
    At += Length;
  }
  if (Mark) Points.insert(Points.begin(), 0xFEFF);
  TBytes Bytes;
  const auto Put = [&](uint32_t Unit) {
    for (size_t Index = 0; Index < UnitSize; ++Index)
      Bytes.push_back(static_cast<uint8_t>(Unit >> (8 * (BigEndian ? UnitSize - 1 - Index : Index))));
  };
  for (const char32_t Point : Points) {
    if (UnitSize == 2 && Point >= 0x10000) {
      Put(0xD800 + ((Point - 0x10000) >> 10));
      Put(0xDC00 + ((Point - 0x10000) & 0x3FF));
    } else {
      Put(Point);
    }
  }
  return Bytes;
}

TEST(Xmp, EveryEncodingAndWhatFollowsThePacket) {
  const std::string Packet = XmpPacket("<rdf:Description dc:format='caf\u00E9 \U0001D11E'/>");
  const std::string Expected = "dc:format|Format|caf\u00E9 \U0001D11E\n";
  const struct {
    const char* What;
    TBytes Bytes;
  } Cases[] = {
      {"UTF-8", BytesOf(Packet)},
      {"UTF-8 with its mark", Concat({{0xEF, 0xBB, 0xBF}, BytesOf(Packet)})},
      {"UTF-8, zero bytes after", Concat({BytesOf(Packet), TBytes(100, 0)})},
      {"UTF-8, anything after the trailer", Concat({BytesOf(Packet), BytesOf("\x01<garbage")})},
      {"UTF-16LE", Encoded(Packet, 2, false, false)},
      {"UTF-16BE with its mark", Encoded(Packet, 2, true, true)},
      {"UTF-16BE, padding after", Concat({Encoded(Packet, 2, true, false), TBytes(7, 0)})},
      {"UTF-32LE with its mark", Encoded(Packet, 4, false, true)},
      {"UTF-32BE", Encoded(Packet, 4, true, false)},
  };
  for (const auto& Case : Cases) {
    std::vector<TXmpProperty> Rows;
    ReadXmpPacket(Case.Bytes, Rows);
    EXPECT_EQ(Lines(Rows), Expected) << Case.What;
  }
}

// What was read before the fault stays, and a last row says where and why.
TEST(Xmp, MalformedPacketsKeepWhatWasRead) {
  std::string Deep = "<x:xmpmeta xmlns:x='adobe:ns:meta/'>";
  for (int Level = 0; Level < 120; ++Level) Deep += "<x:a>";
  const TPacketCase Cases[] = {
      {"a mismatched end tag",
       "<?xpacket begin=''?>\n<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'"
       " xmlns:xmp='http://ns.adobe.com/xap/1.0/'>\n<rdf:Description xmp:Rating='3'>\n<xmp:Label>x</xmp:Rating>",
       "xmp:Rating|Rating|3\n(error)|XML Error|line 4, column 15: mismatched tag\n"},
      {"cut short",
       "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' xmlns:xmp='http://ns.adobe.com/xap/1.0/'>"
       "<rdf:Description><xmp:Label>Red</xmp:Label><xmp:Rat",
       "xmp:Label|Label|Red\n(error)|XML Error|line 1, column 150: unclosed token\n"},
      {"a document type, refused where it starts",
       "<?xml version='1.0'?>\n<!DOCTYPE x [<!ENTITY a 'aaaaaaaa'>]><x>&a;</x>",
       "(error)|XML Error|line 2, column 13: document type declarations are not read\n"},
      {"nested too deep", Deep, "(error)|XML Error|line 1, column 532: elements nested deeper than 100\n"},
  };
  for (const TPacketCase& Case : Cases) EXPECT_EQ(RowsOf(Case.Body), Case.Rows) << Case.What;
  EXPECT_EQ(RowsOf(" \n\t"), "");
}

TEST(Xmp, NamesInWords) {
  const std::pair<const char*, const char*> Names[] = {
      {"DateTimeOriginal", "Date Time Original"}, {"GPSLatitude", "GPS Latitude"},
      {"subject", "Subject"},                     {"FocalLengthIn35mmFilm", "Focal Length In 35mm Film"},
      {"ISOSpeedRatings", "ISO Speed Ratings"},   {"Raw_File_Name", "Raw File Name"},
      {"x", "X"},                                 {"", ""},
  };
  for (const auto& [Local, Words] : Names) EXPECT_EQ(WordsOfName(Local), Words) << Local;
}

}  // namespace
