// IPTC records: names, character sets, dates and times, binary data, and the
// bounds of the block.
#include <gtest/gtest.h>

#include "IptcReader.h"
#include "MetadataWriter.h"

namespace {

std::string RowsOf(const TBytes& Block) {
  std::vector<TIptcDataset> Rows;
  ReadIptcRecords(Block, Rows);
  std::string Text;
  for (const TIptcDataset& Row : Rows)
    Text += std::to_string(Row.Record) + ':' + std::to_string(Row.Dataset) + '|' + Row.Name + '|' + Row.Value + '\n';
  return Text;
}

const TBytes Utf8Charset = IptcDataset(1, 90, TBytes{0x1B, 0x25, 0x47});

TEST(Iptc, DatasetsInTheirCharacterSet) {
  const struct {
    const char* What;
    TBytes Block;
    const char* Rows;
  } Cases[] = {
      {"Windows-1252 without 1:90",
       Concat({IptcDataset(2, 80, TBytes{'J', 0xF6, 'r', 'g', 0x80}), IptcDataset(2, 120, "line\r\nnext")}),
       "2:80|By-line|J\u00F6rg\u20AC\n2:120|Caption/Abstract|line\r\nnext\n"},
      {"UTF-8 when 1:90 holds ESC % G, wherever it stands",
       Concat({IptcDataset(2, 80, "J\u00F6rg"), Utf8Charset}),
       "2:80|By-line|J\u00F6rg\n1:90|Coded Character Set|ESC % G\n"},
      {"not text in its character set",
       Concat({Utf8Charset, IptcDataset(2, 5, TBytes{'J', 0xF6}), IptcDataset(2, 25, TBytes{'a', 1, 'b'})}),
       "1:90|Coded Character Set|ESC % G\n2:5|Object Name|<binary, 2 bytes>\n2:25|Keywords|<binary, 3 bytes>\n"},
      {"undefined in Windows-1252, zero bytes at the end", Concat({IptcDataset(2, 5, TBytes{'a', 0x81}),
                                                                  IptcDataset(2, 105, TBytes{'H', 'i', 0, 0})}),
       "2:5|Object Name|<binary, 2 bytes>\n2:105|Headline|Hi\n"},
      {"dates and times; others as written",
       Concat({IptcDataset(2, 55, "20240506"), IptcDataset(2, 60, "070809+0200"), IptcDataset(1, 70, "2024"),
               IptcDataset(2, 63, "070809")}),
       "2:55|Date Created|2024-05-06\n2:60|Time Created|07:08:09+02:00\n1:70|Date Sent|2024\n"
       "2:63|Digital Creation Time|070809\n"},
      {"binary numbers and data, unknown datasets",
       Concat({IptcDataset(1, 0, TBytes{0, 4}), IptcDataset(7, 90, TBytes{0, 1, 0, 0}),
               IptcDataset(2, 202, TBytes(40000, 0xFF)), IptcDataset(3, 10, "x"), IptcDataset(2, 240, "y")}),
       "1:0|Model Version|4\n7:90|ObjectData Size Announced|65536\n2:202|ObjectData Preview Data|<binary, 40000 bytes>\n"
       "3:10|Dataset 3:10|x\n2:240|Dataset 2:240|y\n"},
      {"the walk ends at padding, and at a dataset longer than the block",
       Concat({IptcDataset(2, 5, "a"), TBytes{0, 0}, IptcDataset(2, 5, "b")}), "2:5|Object Name|a\n"},
      {"cut short", Concat({IptcDataset(2, 5, "a"), TBytes{0x1C, 2, 5, 0, 9, 'b'}}), "2:5|Object Name|a\n"},
      {"an extended length past the block",
       Concat({IptcDataset(2, 5, "a"), TBytes{0x1C, 2, 5, 0x80, 4, 0xFF, 0xFF, 0xFF, 0xF0, 'b'}}), "2:5|Object Name|a\n"},
      {"an extended length of nine bytes", TBytes{0x1C, 2, 5, 0x80, 9, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'b'}, ""},
  };
  for (const auto& Case : Cases) EXPECT_EQ(RowsOf(Case.Block), Case.Rows) << Case.What;
}

TEST(Iptc, PhotoshopResourceOfTheRecords) {
  const TBytes Records = IptcDataset(2, 5, "x");
  const TBytes Named = Concat({BytesOf("8BIM"), {0x04, 0x04, 3, 'a', 'b', 'c'}, {0, 0, 0, 6}, Records});
  const TBytes Resources = Concat({PhotoshopResource(0x03ED, {1, 2, 3}), Named});
  const std::optional<TSpanRange> Found = PhotoshopIptc(Resources);
  ASSERT_TRUE(Found);
  EXPECT_EQ(Found->Offset, 16u + 14u);
  EXPECT_EQ(Found->Length, 6u);
  EXPECT_FALSE(PhotoshopIptc(PhotoshopResource(0x0425, Records)));
  EXPECT_FALSE(PhotoshopIptc(Concat({BytesOf("8BIX"), {4, 4, 0, 0, 0, 0, 0, 6}, Records})));
  EXPECT_FALSE(PhotoshopIptc(Concat({BytesOf("8BIM"), {4, 4, 0, 0, 0, 0, 0, 7}, Records})));  // past the end
}

}  // namespace
