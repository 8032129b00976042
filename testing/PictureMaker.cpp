#include "PictureMaker.h"

#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>
#include <zlib.h>

#include <cstring>
#include <stdexcept>

namespace {

void AppendBytes(png_structp Png, png_bytep Data, size_t Length) {
  auto* Out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(Png));
  Out->insert(Out->end(), Data, Data + Length);
}

[[noreturn]] void ThrowPngError(png_structp, png_const_charp Message) {
  throw std::runtime_error(std::string("libpng: ") + Message);
}

// A libpng writer into a byte vector, whose errors are exceptions (the test
// support is C++ through and through, and libpng is built with unwind
// tables on Debian).
struct TPngWriter {
  TPngWriter() {
    Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ThrowPngError, nullptr);
    Info = png_create_info_struct(Png);
    png_set_write_fn(Png, &Bytes, AppendBytes, nullptr);
  }
  ~TPngWriter() { png_destroy_write_struct(&Png, &Info); }
  png_structp Png;
  png_infop Info;
  std::vector<uint8_t> Bytes;
};

int Channels(int ColourType) {
  switch (ColourType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    default: return 1;  // grey, palette
  }
}

// Row Y of Picture packed as PNG stores it: samples of below 8 bits
// filled from the high bits, 16-bit ones big-endian.
std::vector<uint8_t> PackRow(const TPngPicture& Picture, int Y) {
  const int Count = Channels(Picture.ColourType), Depth = Picture.BitDepth;
  std::vector<uint8_t> Row((static_cast<size_t>(Picture.Width) * static_cast<size_t>(Count * Depth) + 7) / 8);
  size_t Bit = 0;
  for (int X = 0; X < Picture.Width; ++X) {
    const std::array<uint16_t, 4> Samples = Picture.Samples(X, Y);
    for (int Channel = 0; Channel < Count; ++Channel, Bit += static_cast<size_t>(Depth)) {
      const unsigned Sample = Samples[static_cast<size_t>(Channel)];
      if (Depth == 16) {
        Row[Bit / 8] = static_cast<uint8_t>(Sample >> 8);
        Row[Bit / 8 + 1] = static_cast<uint8_t>(Sample);
      } else {
        Row[Bit / 8] |= static_cast<uint8_t>(Sample << (8 - static_cast<size_t>(Depth) - Bit % 8));
      }
    }
  }
  return Row;
}

uint32_t BigEndian(const std::vector<uint8_t>& Bytes, size_t At) {
  return uint32_t{Bytes[At]} << 24 | uint32_t{Bytes[At + 1]} << 16 | uint32_t{Bytes[At + 2]} << 8 | Bytes[At + 3];
}

void PutBigEndian(std::vector<uint8_t>& Bytes, size_t At, uint32_t Value) {
  for (int Index = 0; Index < 4; ++Index) Bytes[At + static_cast<size_t>(Index)] = static_cast<uint8_t>(Value >> (24 - 8 * Index));
}

std::vector<uint8_t> Copy(const WebPData& Data) { return {Data.bytes, Data.bytes + Data.size}; }

}  // namespace

std::vector<uint8_t> MakePng(const TPngPicture& Picture) {
  TPngWriter Writer;
  png_set_IHDR(Writer.Png, Writer.Info, static_cast<png_uint_32>(Picture.Width),
               static_cast<png_uint_32>(Picture.Height), Picture.BitDepth, Picture.ColourType,
               Picture.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!Picture.Palette.empty()) {
    std::vector<png_color> Colours;
    std::vector<png_byte> Alphas;
    bool Transparent = false;
    for (const auto& Entry : Picture.Palette) {
      Colours.push_back({Entry[0], Entry[1], Entry[2]});
      Alphas.push_back(Entry[3]);
      Transparent = Transparent || Entry[3] != 255;
    }
    png_set_PLTE(Writer.Png, Writer.Info, Colours.data(), static_cast<int>(Colours.size()));
    if (Transparent) png_set_tRNS(Writer.Png, Writer.Info, Alphas.data(), static_cast<int>(Alphas.size()), nullptr);
  }
  if (Picture.TransparentKey) {
    const auto& Key = *Picture.TransparentKey;
    png_color_16 Colour{0, Key[0], Key[1], Key[2], Key[0]};
    png_set_tRNS(Writer.Png, Writer.Info, nullptr, 0, &Colour);
  }
  png_write_info(Writer.Png, Writer.Info);
  std::vector<std::vector<uint8_t>> Rows;
  std::vector<png_bytep> RowPointers;
  for (int Y = 0; Y < Picture.Height; ++Y) Rows.push_back(PackRow(Picture, Y));
  for (auto& Row : Rows) RowPointers.push_back(Row.data());
  png_write_image(Writer.Png, RowPointers.data());
  png_write_end(Writer.Png, nullptr);
  return std::move(Writer.Bytes);
}

std::vector<uint8_t> MakePngRows(int Width, int Height, const std::function<void(int Y, uint8_t* Row)>& PaintRow,
                                 int Compression) {
  TPngWriter Writer;
  png_set_IHDR(Writer.Png, Writer.Info, static_cast<png_uint_32>(Width), static_cast<png_uint_32>(Height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(Writer.Png, Compression);
  png_write_info(Writer.Png, Writer.Info);
  std::vector<uint8_t> Row(static_cast<size_t>(Width) * 3);
  for (int Y = 0; Y < Height; ++Y) {
    PaintRow(Y, Row.data());
    png_write_row(Writer.Png, Row.data());
  }
  png_write_end(Writer.Png, nullptr);
  return std::move(Writer.Bytes);
}

size_t FindPngChunk(const std::vector<uint8_t>& Png, const char* Type) {
  for (size_t At = 8; At + 12 <= Png.size(); At += 12 + BigEndian(Png, At))
    if (std::memcmp(&Png[At + 4], Type, 4) == 0) return At;
  return 0;
}

std::vector<uint8_t> WithPngSize(std::vector<uint8_t> Png, uint32_t Width, uint32_t Height) {
  const size_t Header = FindPngChunk(Png, "IHDR");
  PutBigEndian(Png, Header + 8, Width);
  PutBigEndian(Png, Header + 12, Height);
  const auto Crc = crc32(crc32(0, nullptr, 0), &Png[Header + 4], 4 + 13);
  PutBigEndian(Png, Header + 8 + 13, static_cast<uint32_t>(Crc));
  return Png;
}

std::vector<uint8_t> MakeWebp(int Width, int Height, const std::function<uint32_t(int X, int Y)>& Pixel,
                              bool Lossless, int Quality) {
  WebPConfig Config;
  WebPPicture Picture;
  if (!WebPConfigInit(&Config) || !WebPPictureInit(&Picture)) throw std::runtime_error("libwebp: version");
  Config.lossless = Lossless ? 1 : 0;
  Config.quality = static_cast<float>(Quality);
  Config.exact = 1;  // keep the colour of transparent pixels
  Picture.use_argb = 1;
  Picture.width = Width;
  Picture.height = Height;
  WebPMemoryWriter Writer;
  WebPMemoryWriterInit(&Writer);
  Picture.writer = WebPMemoryWrite;
  Picture.custom_ptr = &Writer;
  const bool Made = WebPPictureAlloc(&Picture) != 0 && [&] {
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) Picture.argb[Y * Picture.argb_stride + X] = Pixel(X, Y);
    return WebPEncode(&Config, &Picture) != 0;
  }();
  WebPPictureFree(&Picture);
  std::vector<uint8_t> Bytes(Writer.mem, Writer.mem + Writer.size);
  WebPMemoryWriterClear(&Writer);
  if (!Made) throw std::runtime_error("libwebp: the picture cannot be encoded");
  return Bytes;
}

std::vector<uint8_t> MakeAnimatedWebp(int Width, int Height, const std::vector<TWebpFrame>& Frames) {
  WebPMux* Mux = WebPMuxNew();
  WebPMuxAnimParams Animation{0, 0};
  bool Made = WebPMuxSetCanvasSize(Mux, Width, Height) == WEBP_MUX_OK &&
              WebPMuxSetAnimationParams(Mux, &Animation) == WEBP_MUX_OK;
  for (const TWebpFrame& Frame : Frames) {
    WebPMuxFrameInfo Info{};
    Info.bitstream = {Frame.Picture.data(), Frame.Picture.size()};
    Info.x_offset = Frame.X;
    Info.y_offset = Frame.Y;
    Info.duration = 100;
    Info.id = WEBP_CHUNK_ANMF;
    Info.dispose_method = WEBP_MUX_DISPOSE_NONE;
    Info.blend_method = WEBP_MUX_NO_BLEND;
    Made = Made && WebPMuxPushFrame(Mux, &Info, 1) == WEBP_MUX_OK;
  }
  WebPData Assembled{nullptr, 0};
  Made = Made && WebPMuxAssemble(Mux, &Assembled) == WEBP_MUX_OK;
  WebPMuxDelete(Mux);
  std::vector<uint8_t> Bytes = Copy(Assembled);
  WebPDataClear(&Assembled);
  if (!Made) throw std::runtime_error("libwebpmux: the animation cannot be assembled");
  return Bytes;
}
