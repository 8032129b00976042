#include "JpegMaker.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

std::vector<uint8_t> MakeJpeg(int Width, int Height, const std::function<uint32_t(int, int)>& Pixel,
                              int Quality) {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Errors{};
  Info.err = jpeg_std_error(&Errors);
  jpeg_create_compress(&Info);
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Buffer, &Size);
  Info.image_width = static_cast<JDIMENSION>(Width);
  Info.image_height = static_cast<JDIMENSION>(Height);
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, Quality, TRUE);
  jpeg_start_compress(&Info, TRUE);
  std::vector<uint8_t> Row(static_cast<size_t>(Width) * 3);
  while (Info.next_scanline < Info.image_height) {
    const int Y = static_cast<int>(Info.next_scanline);
    for (int X = 0; X < Width; ++X) {
      const uint32_t Colour = Pixel(X, Y);
      Row[static_cast<size_t>(X) * 3] = static_cast<uint8_t>(Colour >> 16);
      Row[static_cast<size_t>(X) * 3 + 1] = static_cast<uint8_t>(Colour >> 8);
      Row[static_cast<size_t>(X) * 3 + 2] = static_cast<uint8_t>(Colour);
    }
    JSAMPROW Rows[1] = {Row.data()};
    jpeg_write_scanlines(&Info, Rows, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  std::vector<uint8_t> Out(Buffer, Buffer + Size);
  std::free(Buffer);
  return Out;
}

std::vector<uint8_t> MakeJpeg(int Width, int Height) {
  return MakeJpeg(Width, Height, [](int, int) { return 0x808080u; });
}
