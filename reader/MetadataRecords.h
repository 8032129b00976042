// The rows of the XMP and IPTC tabs, as the document keeps them: plain
// records of text, in the order they were read.
#pragma once

#include <cstdint>
#include <string>

// One value of an XMP property, a struct's field or an array's item.
struct TXmpProperty {
  // The XMP path, each step a prefixed name: "xmp:Rating", "dc:subject[2]",
  // "dc:title[x-default]", "exif:Flash/exif:Fired"; "(error)" for the row
  // that reports a packet's XML error.
  std::string Path;
  // The last step's local name in words ("Date Time Original"), with
  // " (sidecar)" after it for a sidecar's rows.
  std::string Name;
  // As written, blanks trimmed.
  std::string Value;
  bool Sidecar = false;
};

// One IPTC dataset (one occurrence of a repeatable one).
struct TIptcDataset {
  uint8_t Record = 0;
  uint8_t Dataset = 0;
  std::string Name;   // of IPTC IIM 4.2, or "Dataset R:D"
  std::string Value;  // UTF-8 text, a date or time made readable, or "<binary, N bytes>"
};
