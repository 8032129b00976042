// Real JPEG pictures made with libjpeg's compressor, for thumbnails and for
// the picture view, and greyscale pictures coded by hand that are as dense
// as JPEG allows, or denser.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Fills the R, G, B bytes of row Y of a picture (3 bytes a pixel).
using TRowPainter = std::function<void(int Y, uint8_t* Row)>;

// A W x H baseline JPEG with 4:2:0 chroma, as cameras write, whose rows
// PaintRow fills; App1, when given, is the body of an APP1 segment written
// after the JFIF one ("Exif", two zero bytes, TIFF data).
std::vector<uint8_t> CompressRows(int Width, int Height, const TRowPainter& PaintRow, int Quality = 90,
                                  std::span<const uint8_t> App1 = {});

// A W x H picture whose pixel (x, y) has the colour Pixel(x, y) (0xRRGGBB).
std::vector<uint8_t> MakeJpeg(int Width, int Height,
                              const std::function<uint32_t(int, int)>& Pixel, int Quality = 90);
// A plain grey picture.
std::vector<uint8_t> MakeJpeg(int Width, int Height);

// Jpeg (a baseline picture) with its frame header claiming Width x Height
// pixels, its data unchanged: a decompression bomb when the claim is large.
std::vector<uint8_t> WithDeclaredSize(std::vector<uint8_t> Jpeg, uint16_t Width, uint16_t Height);

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

// A progressive colour picture (three components, none subsampled) of
// Width x Height pixels with one DC scan and no AC scans: legal, and for
// 134 megapixels some 800 MB of coefficients to libjpeg.
std::vector<uint8_t> ColourDcOnlyJpeg(uint16_t Width, uint16_t Height);

// JPEG data that end after their frame header (SOI, the frame header of
// Marker, EOI): how the raw sensor data of a raw file look to a reader of
// frame headers (SOF3, lossless, 12 to 16 bits a sample).
std::vector<uint8_t> FrameOnlyJpeg(uint8_t Marker, uint8_t Precision, uint16_t Width, uint16_t Height);
