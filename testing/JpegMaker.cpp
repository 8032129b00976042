#include "JpegMaker.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <stdexcept>

#include <jpeglib.h>

std::vector<uint8_t> CompressRows(int Width, int Height, const TRowPainter& PaintRow, int Quality,
                                  std::span<const uint8_t> App1) {
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
  jpeg_set_defaults(&Info);  // baseline, 4:2:0
  jpeg_set_quality(&Info, Quality, TRUE);
  jpeg_start_compress(&Info, TRUE);
  if (!App1.empty()) jpeg_write_marker(&Info, JPEG_APP0 + 1, App1.data(), static_cast<unsigned>(App1.size()));
  std::vector<uint8_t> Row(static_cast<size_t>(Width) * 3);
  while (Info.next_scanline < Info.image_height) {
    PaintRow(static_cast<int>(Info.next_scanline), Row.data());
    JSAMPROW Rows[1] = {Row.data()};
    jpeg_write_scanlines(&Info, Rows, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  std::vector<uint8_t> Out(Buffer, Buffer + Size);
  std::free(Buffer);
  return Out;
}

std::vector<uint8_t> MakeJpeg(int Width, int Height, const std::function<uint32_t(int, int)>& Pixel,
                              int Quality) {
  return CompressRows(
      Width, Height,
      [&](int Y, uint8_t* Row) {
        for (int X = 0; X < Width; ++X) {
          const uint32_t Colour = Pixel(X, Y);
          *Row++ = static_cast<uint8_t>(Colour >> 16);
          *Row++ = static_cast<uint8_t>(Colour >> 8);
          *Row++ = static_cast<uint8_t>(Colour);
        }
      },
      Quality);
}

std::vector<uint8_t> MakeJpeg(int Width, int Height) {
  return MakeJpeg(Width, Height, [](int, int) { return 0x808080u; });
}

std::vector<uint8_t> WithDeclaredSize(std::vector<uint8_t> Jpeg, uint16_t Width, uint16_t Height) {
  for (size_t At = 2; At + 9 < Jpeg.size(); ++At) {
    if (Jpeg[At] != 0xFF || Jpeg[At + 1] != 0xC0) continue;  // SOF0: length, precision, height, width
    Jpeg[At + 5] = static_cast<uint8_t>(Height >> 8), Jpeg[At + 6] = static_cast<uint8_t>(Height);
    Jpeg[At + 7] = static_cast<uint8_t>(Width >> 8), Jpeg[At + 8] = static_cast<uint8_t>(Width);
    break;
  }
  return Jpeg;
}

namespace {

using TJpegBytes = std::vector<uint8_t>;

void Put(TJpegBytes& Out, std::initializer_list<unsigned> Bytes) {
  for (const unsigned Byte : Bytes) Out.push_back(static_cast<uint8_t>(Byte));
}

void Put16(TJpegBytes& Out, unsigned Value) { Put(Out, {Value >> 8 & 0xFF, Value & 0xFF}); }

// SOI, a quantisation table of ones, and a one-component frame (SOF0 or SOF2).
TJpegBytes GreyFrame(unsigned FrameMarker, uint16_t Width, uint16_t Height) {
  TJpegBytes Out;
  Put(Out, {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00});
  Out.insert(Out.end(), 64, 1);
  Put(Out, {0xFF, FrameMarker, 0x00, 0x0B, 0x08});
  Put16(Out, Height);
  Put16(Out, Width);
  Put(Out, {0x01, 0x01, 0x11, 0x00});
  return Out;
}

// A Huffman table (Class 0: DC, 1: AC) with Symbols[L - 1] of code length L.
void PutHuffmanTable(TJpegBytes& Out, unsigned Class, const std::vector<std::vector<uint8_t>>& Symbols) {
  TJpegBytes Counts(16, 0), All;
  for (size_t Length = 0; Length < Symbols.size(); ++Length) {
    Counts[Length] = static_cast<uint8_t>(Symbols[Length].size());
    All.insert(All.end(), Symbols[Length].begin(), Symbols[Length].end());
  }
  Put(Out, {0xFF, 0xC4});
  Put16(Out, static_cast<unsigned>(2 + 1 + 16 + All.size()));
  Out.push_back(static_cast<uint8_t>(Class << 4));
  Out.insert(Out.end(), Counts.begin(), Counts.end());
  Out.insert(Out.end(), All.begin(), All.end());
}

void PutScanHeader(TJpegBytes& Out, unsigned Start, unsigned End, unsigned High, unsigned Low) {
  Put(Out, {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, Start, End, High << 4 | Low});
}

// Entropy-coded bits, with a zero byte stuffed after each 0xFF and the last
// byte filled with ones.
class TBitWriter {
 public:
  explicit TBitWriter(TJpegBytes& Out) : FOut(Out) {}
  ~TBitWriter() {
    if (FCount > 0) Put((1u << (8 - FCount)) - 1, 8 - FCount);
  }
  void Put(unsigned Bits, int Count) {
    for (int Bit = Count - 1; Bit >= 0; --Bit) {
      FByte = FByte << 1 | (Bits >> Bit & 1);
      if (++FCount < 8) continue;
      FOut.push_back(static_cast<uint8_t>(FByte));
      if (FByte == 0xFF) FOut.push_back(0);
      FByte = 0;
      FCount = 0;
    }
  }

 private:
  TJpegBytes& FOut;
  unsigned FByte = 0;
  int FCount = 0;
};

}  // namespace

std::vector<uint8_t> EmptyScanJpeg(uint16_t Width, uint16_t Height) {
  TJpegBytes Out = GreyFrame(0xC0, Width, Height);
  PutHuffmanTable(Out, 0, {{0x00}});
  PutHuffmanTable(Out, 1, {{0x00}});
  PutScanHeader(Out, 0, 63, 0, 0);
  Put(Out, {0xFF, 0xD9});
  return Out;
}

std::vector<uint8_t> EndOfBandJpeg(uint16_t Width, uint16_t Height, bool DcScan, int AcScans) {
  const uint64_t Blocks = uint64_t{(Width + 7u) / 8u} * ((Height + 7u) / 8u);
  TJpegBytes Out = GreyFrame(0xC2, Width, Height);
  // DC: difference category 0 as the one-bit code 0. AC: the run of 32767
  // blocks (EOB14) as 0, the shorter runs EOB0 to EOB13 as five-bit codes.
  PutHuffmanTable(Out, 0, {{0x00}});
  std::vector<uint8_t> ShortRuns;
  for (uint8_t Run = 0; Run < 14; ++Run) ShortRuns.push_back(static_cast<uint8_t>(Run << 4));
  PutHuffmanTable(Out, 1, {{0xE0}, {}, {}, {}, ShortRuns});
  if (DcScan) {
    PutScanHeader(Out, 0, 0, 0, 0);
    TBitWriter Bits(Out);
    for (uint64_t Block = 0; Block < Blocks; ++Block) Bits.Put(0, 1);
  }
  const bool Series = AcScans <= 14;
  for (int Scan = 0; Scan < AcScans; ++Scan) {
    const auto Low = static_cast<unsigned>(Series ? AcScans - 1 - Scan : 0);
    PutScanHeader(Out, 1, 63, Series && Scan > 0 ? Low + 1 : 0, Low);
    TBitWriter Bits(Out);
    for (uint64_t Left = Blocks; Left > 0;) {
      const uint64_t Run = std::min<uint64_t>(Left, 32767);
      const int Bit = static_cast<int>(std::bit_width(Run)) - 1;  // EOBn covers 2^n to 2^(n+1) - 1 blocks
      if (Bit == 14)
        Bits.Put(0, 1);
      else
        Bits.Put(0x10u + static_cast<unsigned>(Bit), 5);
      Bits.Put(static_cast<unsigned>(Run - (uint64_t{1} << Bit)), Bit);
      Left -= Run;
    }
  }
  Put(Out, {0xFF, 0xD9});
  return Out;
}

std::vector<uint8_t> ColourDcOnlyJpeg(uint16_t Width, uint16_t Height) {
  const uint64_t Blocks = uint64_t{(Width + 7u) / 8u} * ((Height + 7u) / 8u);
  TJpegBytes Out;
  Put(Out, {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00});
  Out.insert(Out.end(), 64, 1);
  Put(Out, {0xFF, 0xC2, 0x00, 0x11, 0x08});
  Put16(Out, Height);
  Put16(Out, Width);
  Put(Out, {0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x00, 0x03, 0x11, 0x00});
  PutHuffmanTable(Out, 0, {{0x00}});
  std::vector<uint8_t> ShortRuns;
  for (uint8_t Run = 0; Run < 14; ++Run) ShortRuns.push_back(static_cast<uint8_t>(Run << 4));
  PutHuffmanTable(Out, 1, {{0xE0}, {}, {}, {}, ShortRuns});
  // One interleaved DC scan of the three components, one bit a block.
  Put(Out, {0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00});
  {
    TBitWriter Bits(Out);
    for (uint64_t Block = 0; Block < 3 * Blocks; ++Block) Bits.Put(0, 1);
  }
  // Then each component's AC band, ended at once by end-of-band runs, as
  // EndOfBandJpeg codes them.
  for (uint8_t Component = 1; Component <= 3; ++Component) {
    Put(Out, {0xFF, 0xDA, 0x00, 0x08, 0x01, Component, 0x00, 0x01, 0x3F, 0x00});
    TBitWriter Bits(Out);
    for (uint64_t Left = Blocks; Left > 0;) {
      const uint64_t Run = std::min<uint64_t>(Left, 32767);
      const int Bit = static_cast<int>(std::bit_width(Run)) - 1;
      if (Bit == 14)
        Bits.Put(0, 1);
      else
        Bits.Put(0x10u + static_cast<unsigned>(Bit), 5);
      Bits.Put(static_cast<unsigned>(Run - (uint64_t{1} << Bit)), Bit);
      Left -= Run;
    }
  }
  Put(Out, {0xFF, 0xD9});
  return Out;
}

std::vector<uint8_t> FrameOnlyJpeg(uint8_t Marker, uint8_t Precision, uint16_t Width, uint16_t Height) {
  return {0xFF, 0xD8, 0xFF, Marker, 0x00, 0x0B, Precision, static_cast<uint8_t>(Height >> 8),
          static_cast<uint8_t>(Height), static_cast<uint8_t>(Width >> 8), static_cast<uint8_t>(Width), 0x01,
          0x01, 0x11, 0x00, 0xFF, 0xD9};
}
