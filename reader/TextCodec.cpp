#include "TextCodec.h"

#include <algorithm>
#include <array>

namespace {

// Windows-1252 code points of the bytes 0x80 to 0x9F. The five bytes the code
// page leaves undefined map to the C1 control of the same number, as Windows
// itself converts them.
constexpr std::array<char32_t, 32> Cp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Length of the valid UTF-8 sequence starting at Bytes[At], or 0 when the
// bytes there are not one (overlong forms, surrogates and values above
// U+10FFFF are invalid).
size_t Utf8SequenceLength(std::span<const uint8_t> Bytes, size_t At) {
  const uint8_t Lead = Bytes[At];
  if (Lead < 0x80) return 1;
  size_t Length;
  uint8_t Low = 0x80, High = 0xBF;  // range of the second byte
  if (Lead >= 0xC2 && Lead <= 0xDF) {
    Length = 2;
  } else if (Lead >= 0xE0 && Lead <= 0xEF) {
    Length = 3;
    if (Lead == 0xE0) Low = 0xA0;
    if (Lead == 0xED) High = 0x9F;
  } else if (Lead >= 0xF0 && Lead <= 0xF4) {
    Length = 4;
    if (Lead == 0xF0) Low = 0x90;
    if (Lead == 0xF4) High = 0x8F;
  } else {
    return 0;
  }
  if (At + Length > Bytes.size()) return 0;
  if (Bytes[At + 1] < Low || Bytes[At + 1] > High) return 0;
  for (size_t Next = 2; Next < Length; ++Next)
    if ((Bytes[At + Next] & 0xC0) != 0x80) return 0;
  return Length;
}

// Length of the longest prefix of Bytes that is valid UTF-8.
size_t ValidUtf8Prefix(std::span<const uint8_t> Bytes) {
  size_t At = 0;
  while (At < Bytes.size()) {
    const size_t Length = Utf8SequenceLength(Bytes, At);
    if (Length == 0) break;
    At += Length;
  }
  return At;
}

// True when Bytes[At..] is the start of a multi-byte sequence that would be
// valid if the bytes went on.
bool IsIncompleteSequence(std::span<const uint8_t> Bytes, size_t At) {
  const uint8_t Lead = Bytes[At];
  const size_t Needed = Lead >= 0xF0 ? 4 : Lead >= 0xE0 ? 3 : 2;
  if (Lead < 0xC2 || Lead > 0xF4 || Bytes.size() - At >= Needed) return false;
  for (size_t Next = At + 1; Next < Bytes.size(); ++Next)
    if ((Bytes[Next] & 0xC0) != 0x80) return false;
  return true;
}

}  // namespace

void AppendUtf8(std::string& Out, char32_t CodePoint) {
  if (CodePoint < 0x80) {
    Out += static_cast<char>(CodePoint);
  } else if (CodePoint < 0x800) {
    Out += static_cast<char>(0xC0 | (CodePoint >> 6));
    Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
  } else if (CodePoint < 0x10000) {
    Out += static_cast<char>(0xE0 | (CodePoint >> 12));
    Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (CodePoint >> 18));
    Out += static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
  }
}

bool IsUtf8(std::span<const uint8_t> Bytes) { return ValidUtf8Prefix(Bytes) == Bytes.size(); }

std::string TextFromWindows1252(std::span<const uint8_t> Bytes) {
  std::string Out;
  Out.reserve(Bytes.size() * 2);
  for (const uint8_t Byte : Bytes) {
    if (Byte >= 0x80 && Byte < 0xA0)
      AppendUtf8(Out, Cp1252High[Byte - 0x80]);
    else
      AppendUtf8(Out, Byte);
  }
  return Out;
}

std::string TextFromFileBytes(std::span<const uint8_t> Bytes, bool MayBeCut) {
  // Most texts of a photo are plain ASCII, which both readings leave as is.
  if (std::all_of(Bytes.begin(), Bytes.end(), [](uint8_t Byte) { return Byte < 0x80; }))
    return std::string(Bytes.begin(), Bytes.end());
  const size_t Valid = ValidUtf8Prefix(Bytes);
  if (Valid == Bytes.size() || (MayBeCut && IsIncompleteSequence(Bytes, Valid)))
    return std::string(Bytes.begin(), Bytes.begin() + static_cast<std::ptrdiff_t>(Valid));
  return TextFromWindows1252(Bytes);
}
