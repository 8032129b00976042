// Real JPEG pictures made with libjpeg's compressor, for thumbnails and for
// the picture view.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// A W x H picture whose pixel (x, y) has the colour Pixel(x, y) (0xRRGGBB).
std::vector<uint8_t> MakeJpeg(int Width, int Height,
                              const std::function<uint32_t(int, int)>& Pixel, int Quality = 90);
// A plain grey picture.
std::vector<uint8_t> MakeJpeg(int Width, int Height);
