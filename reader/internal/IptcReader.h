// IPTC records (IPTC-NAA Information Interchange Model 4.2) and the
// Photoshop image resources that carry them in JPEG and TIFF files. Private
// to the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "MetadataRecords.h"

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
