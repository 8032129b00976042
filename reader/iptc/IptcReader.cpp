// IPTC records: a sequence of datasets, each the tag marker 0x1C, a record
// number, a dataset number and a 16-bit big-endian length, then the data. A
// length with its top bit set is an extended one: its other 15 bits count
// the bytes of the real length, which follow. Layout and character sets:
// IPTC-NAA Information Interchange Model 4.2, sections 1.5 and 1.6 and
// dataset 1:90.
#include <algorithm>
#include <string>

#include "IptcDatasets.h"
#include "IptcReader.h"
#include "SpanReader.h"
#include "TextCodec.h"

namespace {

constexpr uint8_t TagMarker = 0x1C;
// ESC % G: the ISO 2022 escape sequence that designates UTF-8, which dataset
// 1:90 holds when the texts of the records are UTF-8.
constexpr uint8_t Utf8Designation[] = {0x1B, 0x25, 0x47};
constexpr uint8_t Escape = 0x1B;

struct TRawDataset {
  uint8_t Record = 0;
  uint8_t Dataset = 0;
  std::span<const uint8_t> Data;
};

// The dataset at the reader's position; false at the end of the datasets:
// the end of the block, a byte that is no tag marker, or a dataset that does
// not lie whole in the block.
bool NextDataset(TSpanReader& Reader, TRawDataset& Read) {
  if (Reader.Remaining() < 5 || Reader.Peek() != TagMarker) return false;
  Reader.Skip(1);
  Read.Record = Reader.U8();
  Read.Dataset = Reader.U8();
  uint64_t Length = Reader.U16();
  if (Length & 0x8000) {
    const size_t LengthBytes = Length & 0x7FFF;
    if (LengthBytes == 0 || LengthBytes > 8) return false;
    Length = Reader.BigEndian(LengthBytes);
  }
  if (Length > Reader.Remaining()) return false;
  Read.Data = Reader.Bytes(static_cast<size_t>(Length));
  return Reader.Ok();
}

bool IsUtf8Designation(std::span<const uint8_t> Data) {
  return std::search(Data.begin(), Data.end(), std::begin(Utf8Designation), std::end(Utf8Designation)) !=
         Data.end();
}

// Whether any dataset 1:90 designates UTF-8.
bool RecordsAreUtf8(std::span<const uint8_t> Block) {
  TSpanReader Reader(Block);
  TRawDataset Read;
  while (NextDataset(Reader, Read))
    if (Read.Record == 1 && Read.Dataset == 90 && IsUtf8Designation(Read.Data)) return true;
  return false;
}

std::string Binary(size_t Length) { return "<binary, " + std::to_string(Length) + " bytes>"; }

bool IsControl(uint8_t Byte) { return (Byte < 0x20 && Byte != '\t' && Byte != '\n' && Byte != '\r') || Byte == 0x7F; }

// Windows-1252 leaves these five bytes undefined.
bool IsUndefinedIn1252(uint8_t Byte) {
  return Byte == 0x81 || Byte == 0x8D || Byte == 0x8F || Byte == 0x90 || Byte == 0x9D;
}

// The data as text of the records' character set, or nothing when they are
// not: control characters, or bytes the character set does not define.
// Zero bytes at the end, which some writers add, are not part of the text.
std::optional<std::string> Text(std::span<const uint8_t> Data, bool Utf8) {
  while (!Data.empty() && Data.back() == 0) Data = Data.first(Data.size() - 1);
  if (std::any_of(Data.begin(), Data.end(), IsControl)) return std::nullopt;
  if (Utf8) {
    if (!IsUtf8(Data)) return std::nullopt;
    return std::string(Data.begin(), Data.end());
  }
  if (std::any_of(Data.begin(), Data.end(), IsUndefinedIn1252)) return std::nullopt;
  return TextFromWindows1252(Data);
}

bool AllDigits(std::string_view Text) {
  return std::all_of(Text.begin(), Text.end(), [](char C) { return C >= '0' && C <= '9'; });
}

// "CCYYMMDD" as "CCYY-MM-DD"; any other text as it is.
std::string DateText(std::string Text) {
  if (Text.size() != 8 || !AllDigits(Text)) return Text;
  return Text.substr(0, 4) + '-' + Text.substr(4, 2) + '-' + Text.substr(6, 2);
}

// "HHMMSS±HHMM" as "HH:MM:SS±HH:MM"; any other text as it is.
std::string TimeText(std::string Text) {
  const std::string_view View(Text);
  if (Text.size() != 11 || !AllDigits(View.substr(0, 6)) || (Text[6] != '+' && Text[6] != '-') ||
      !AllDigits(View.substr(7)))
    return Text;
  return Text.substr(0, 2) + ':' + Text.substr(2, 2) + ':' + Text.substr(4, 2) + Text[6] + Text.substr(7, 2) +
         ':' + Text.substr(9, 2);
}

// ISO 2022 escape sequences with each escape shown as "ESC" and every
// character apart ("ESC % G").
std::optional<std::string> EscapeSequenceText(std::span<const uint8_t> Data) {
  std::string Shown;
  for (const uint8_t Byte : Data) {
    if (Byte != Escape && (Byte < 0x21 || Byte > 0x7E)) return std::nullopt;
    if (!Shown.empty()) Shown += ' ';
    if (Byte == Escape)
      Shown += "ESC";
    else
      Shown += static_cast<char>(Byte);
  }
  return Shown;
}

std::string ValueText(const TRawDataset& Read, TIptcForm Form, bool Utf8) {
  std::optional<std::string> Shown;
  switch (Form) {
    case ifText: Shown = Text(Read.Data, Utf8); break;
    case ifDate:
      if ((Shown = Text(Read.Data, Utf8))) Shown = DateText(std::move(*Shown));
      break;
    case ifTime:
      if ((Shown = Text(Read.Data, Utf8))) Shown = TimeText(std::move(*Shown));
      break;
    case ifNumber:
      if (!Read.Data.empty() && Read.Data.size() <= 8)
        Shown = std::to_string(TSpanReader(Read.Data).BigEndian(Read.Data.size()));
      break;
    case ifCharset: Shown = EscapeSequenceText(Read.Data); break;
    case ifBinary: break;
  }
  return Shown ? std::move(*Shown) : Binary(Read.Data.size());
}

}  // namespace

bool MayStartIptc(std::span<const uint8_t> First) { return !First.empty() && First[0] == TagMarker; }

void ReadIptcRecords(std::span<const uint8_t> Block, std::vector<TIptcDataset>& Rows) {
  const bool Utf8 = RecordsAreUtf8(Block);
  TSpanReader Reader(Block);
  TRawDataset Read;
  while (NextDataset(Reader, Read)) {
    const TIptcDatasetInfo* Info = FindIptcDataset(Read.Record, Read.Dataset);
    TIptcDataset& Row = Rows.emplace_back();
    Row.Record = Read.Record;
    Row.Dataset = Read.Dataset;
    Row.Name = Info != nullptr ? std::string(Info->Name)
                               : "Dataset " + std::to_string(Read.Record) + ':' + std::to_string(Read.Dataset);
    Row.Value = ValueText(Read, Info != nullptr ? Info->Form : ifText, Utf8);
  }
}
