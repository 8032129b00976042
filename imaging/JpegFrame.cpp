#include "JpegFrame.h"

#include <array>

namespace {

// Markers that stand alone, without a length: TEM and RST0 to RST7 (ITU-T
// T.81, table B.1).
bool StandsAlone(uint8_t Marker) { return Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7); }

// The start-of-frame markers: 0xC0 to 0xCF but DHT (C4), JPG (C8) and DAC (CC).
bool IsStartOfFrame(uint8_t Marker) {
  return Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC;
}

}  // namespace

bool TJpegFrame::IsShownPicture() const {
  constexpr std::array<uint8_t, 5> DctProcesses{0xC0, 0xC1, 0xC2, 0xC9, 0xCA};
  bool Dct = false;
  for (uint8_t Process : DctProcesses) Dct = Dct || Marker == Process;
  return Dct && Precision == 8;
}

// Each segment: 0xFF (fill bytes 0xFF may come before it), the marker, then
// for all but the stand-alone markers a 16-bit big-endian length that counts
// itself. A frame header's data: precision (1 byte), height (2), width (2).
std::optional<TJpegFrame> ReadJpegFrame(const TByteSource& Source) {
  uint8_t Start[2] = {};
  if (Source.ReadAt(0, Start) != 2 || Start[0] != 0xFF || Start[1] != 0xD8) return std::nullopt;
  int64_t At = 2;
  for (int Segment = 0; Segment < MaxJpegFrameSegments; ++Segment) {
    uint8_t Head[4] = {};
    if (Source.ReadAt(At, Head) != 4 || Head[0] != 0xFF) return std::nullopt;
    if (Head[1] == 0xFF) {  // a fill byte
      ++At;
      continue;
    }
    const uint8_t Marker = Head[1];
    if (Marker == 0xD9 || Marker == 0xDA || Marker == 0xD8) return std::nullopt;
    if (StandsAlone(Marker)) {
      At += 2;
      continue;
    }
    const int Length = Head[2] << 8 | Head[3];
    if (Length < 2) return std::nullopt;
    if (IsStartOfFrame(Marker)) {
      uint8_t Frame[5] = {};
      if (Source.ReadAt(At + 4, Frame) != 5) return std::nullopt;
      return TJpegFrame{Marker, Frame[0], {Frame[3] << 8 | Frame[4], Frame[1] << 8 | Frame[2]}};
    }
    At += 2 + Length;
  }
  return std::nullopt;
}
