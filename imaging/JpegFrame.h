// The frame header of JPEG data: the picture's size, its sample precision
// and its coding process, found by walking the marker segments from the
// start of the data to the first start-of-frame marker, without libjpeg and
// without reading any scan data. Raw files hold JPEG data of several kinds:
// previews a viewer can show, and the sensor data, coded lossless or with
// 12 or more bits a sample, which it cannot.
#pragma once

#include <cstdint>
#include <optional>

#include "ByteSource.h"
#include "PictureSize.h"

struct TJpegFrame {
  uint8_t Marker = 0;     // SOF0 (0xC0) to SOF15 (0xCF)
  int Precision = 0;      // bits a sample
  TPictureSize Size;
  // A picture libjpeg decodes: 8-bit samples, coded sequential or
  // progressive by the DCT (SOF0, SOF1, SOF2, SOF9, SOF10). Lossless
  // (SOF3, SOF11), hierarchical (SOF5 to 7, SOF13 to 15) and 12- or 16-bit
  // data are not pictures to show.
  bool IsShownPicture() const;
};

// Segment headers the walk reads at most (fill bytes count as one each);
// real pictures have a dozen before their frame header.
inline constexpr int MaxJpegFrameSegments = 256;

// The frame header of the JPEG data in Source, which must start with SOI;
// none when the data end, or a scan or EOI comes, before a frame header, or
// when the segments do not follow one another as JPEG lays them out.
std::optional<TJpegFrame> ReadJpegFrame(const TByteSource& Source);
