// The datasets of IPTC IIM 4.2 that the IPTC tab names, and how each one's
// value is shown. Private to the IPTC reader.
#pragma once

#include <cstdint>
#include <string_view>

// How a dataset's bytes are shown.
enum TIptcForm : uint8_t {
  ifText,     // characters of the record's character set
  ifDate,     // "CCYYMMDD", shown "CCYY-MM-DD"
  ifTime,     // "HHMMSS±HHMM", shown "HH:MM:SS±HH:MM"
  ifNumber,   // an unsigned big-endian binary number, shown in decimal
  ifBinary,   // bytes of no character set: "<binary, N bytes>"
  ifCharset,  // ISO 2022 escape sequences: "ESC % G"
};

struct TIptcDatasetInfo {
  uint8_t Record;
  uint8_t Dataset;
  std::string_view Name;
  TIptcForm Form;
};

// The row of a dataset; null for a dataset IIM 4.2 does not define.
const TIptcDatasetInfo* FindIptcDataset(uint8_t Record, uint8_t Dataset);
