// Real JPEG pictures made with libjpeg's compressor, for thumbnails and for
// the picture view, and greyscale pictures coded by hand that are as dense
// as JPEG allows, or denser.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// A W x H picture whose pixel (x, y) has the colour Pixel(x, y) (0xRRGGBB).
std::vector<uint8_t> MakeJpeg(int Width, int Height,
                              const std::function<uint32_t(int, int)>& Pixel, int Quality = 90);
// A plain grey picture.
std::vector<uint8_t> MakeJpeg(int Width, int Height);

// A baseline greyscale picture declaring Width x Height pixels whose one
// scan has no data at all.
std::vector<uint8_t> EmptyScanJpeg(uint16_t Width, uint16_t Height);

// A progressive greyscale picture of Width x Height pixels, all of one grey:
// a DC scan spending one bit on each 8 x 8 block (when DcScan), then AcScans
// scans of the AC band 1-63, each of which ends every block at once through
// end-of-band runs (a few bytes per scan, whatever the size). Up to 14 AC
// scans form a legal successive-approximation series; more repeat the first
// pass, which libjpeg takes with a warning.
std::vector<uint8_t> EndOfBandJpeg(uint16_t Width, uint16_t Height, bool DcScan, int AcScans);
