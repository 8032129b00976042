// IPTC records (IPTC-NAA Information Interchange Model 4.2) and the
// Photoshop image resources that carry them in JPEG and TIFF files. Private
// to the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <cstdint>
#include <span>
#include <vector>

#include "MetadataRecords.h"

// IPTC records, and the Photoshop image resources that hold them, are read
// up to this size: real records hold some kilobytes, image resources with a
// thumbnail some hundreds.
constexpr int64_t MaxIptcBytes = int64_t{16} << 20;

// Whether bytes can start IPTC records (a tag marker) or Photoshop image
// resources (a resource block's signature).
bool MayStartIptc(std::span<const uint8_t> First);
bool MayStartPhotoshopResources(std::span<const uint8_t> First);

// A part of a span of bytes.
struct TSpanRange {
  size_t Offset = 0;
  size_t Length = 0;
};

// Where resource 0x0404 (the IPTC records) lies in Photoshop image
// resources; nothing when they hold none.
std::optional<TSpanRange> PhotoshopIptc(std::span<const uint8_t> Resources);

// Appends a row to Rows for each dataset of Block, in order, until the data
// end or stop being datasets.
void ReadIptcRecords(std::span<const uint8_t> Block, std::vector<TIptcDataset>& Rows);
