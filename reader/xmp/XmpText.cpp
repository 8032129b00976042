#include "XmpText.h"

#include <algorithm>

#include "TextCodec.h"

namespace {

enum class TEncoding { Utf8, Utf16BE, Utf16LE, Utf32BE, Utf32LE };

constexpr char32_t Replacement = 0xFFFD;

// Byte order marks and the encodings they announce.
struct TByteOrderMark {
  std::span<const uint8_t> Bytes;
  TEncoding Encoding;
};
constexpr uint8_t Utf32BEMark[] = {0, 0, 0xFE, 0xFF}, Utf32LEMark[] = {0xFF, 0xFE, 0, 0};
constexpr uint8_t Utf16BEMark[] = {0xFE, 0xFF}, Utf16LEMark[] = {0xFF, 0xFE}, Utf8Mark[] = {0xEF, 0xBB, 0xBF};
// The UTF-32 marks come first: UTF-16's little-endian mark begins UTF-32's.
constexpr TByteOrderMark ByteOrderMarks[] = {
    {Utf32BEMark, TEncoding::Utf32BE}, {Utf32LEMark, TEncoding::Utf32LE}, {Utf16BEMark, TEncoding::Utf16BE},
    {Utf16LEMark, TEncoding::Utf16LE}, {Utf8Mark, TEncoding::Utf8},
};

// The encoding of a packet from its first bytes: a byte order mark (Skip
// says its length), or the zero bytes of the first character, which is
// ASCII ("<" or a blank).
TEncoding EncodingOf(std::span<const uint8_t> Bytes, size_t& Skip) {
  Skip = 0;
  for (const TByteOrderMark& Mark : ByteOrderMarks) {
    if (Bytes.size() >= Mark.Bytes.size() && std::equal(Mark.Bytes.begin(), Mark.Bytes.end(), Bytes.begin())) {
      Skip = Mark.Bytes.size();
      return Mark.Encoding;
    }
  }
  if (Bytes.size() < 4) return TEncoding::Utf8;
  if (Bytes[0] == 0 && Bytes[1] == 0 && Bytes[2] == 0 && Bytes[3] != 0) return TEncoding::Utf32BE;
  if (Bytes[0] != 0 && Bytes[1] == 0 && Bytes[2] == 0 && Bytes[3] == 0) return TEncoding::Utf32LE;
  if (Bytes[0] == 0 && Bytes[1] != 0) return TEncoding::Utf16BE;
  if (Bytes[0] != 0 && Bytes[1] == 0) return TEncoding::Utf16LE;
  return TEncoding::Utf8;
}

uint32_t Unit(std::span<const uint8_t> Bytes, size_t At, size_t Size, bool BigEndian) {
  uint32_t Value = 0;
  for (size_t Index = 0; Index < Size; ++Index) {
    const uint32_t Byte = Bytes[At + (BigEndian ? Index : Size - 1 - Index)];
    Value = Value << 8 | Byte;
  }
  return Value;
}

bool IsSurrogate(uint32_t Unit) { return Unit >= 0xD800 && Unit <= 0xDFFF; }

// UTF-16 or UTF-32 to UTF-8, up to the first zero character.
std::string WideToUtf8(std::span<const uint8_t> Bytes, size_t UnitSize, bool BigEndian) {
  std::string Text;
  Text.reserve(Bytes.size() / UnitSize);
  const size_t Units = Bytes.size() / UnitSize;
  for (size_t Index = 0; Index < Units; ++Index) {
    uint32_t Value = Unit(Bytes, Index * UnitSize, UnitSize, BigEndian);
    if (Value == 0) break;
    if (UnitSize == 2 && Value >= 0xD800 && Value <= 0xDBFF && Index + 1 < Units) {
      const uint32_t Low = Unit(Bytes, (Index + 1) * UnitSize, UnitSize, BigEndian);
      if (Low >= 0xDC00 && Low <= 0xDFFF) {
        Value = 0x10000 + ((Value - 0xD800) << 10) + (Low - 0xDC00);
        ++Index;
      }
    }
    if (IsSurrogate(Value) || Value > 0x10FFFF) Value = Replacement;
    AppendUtf8(Text, Value);
  }
  return Text;
}

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }
bool IsLower(char C) { return C >= 'a' && C <= 'z'; }
bool IsUpper(char C) { return C >= 'A' && C <= 'Z'; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

}  // namespace

bool StartsLikeXml(std::span<const uint8_t> First) {
  size_t Skip = 0;
  const TEncoding Encoding = EncodingOf(First, Skip);
  if (Skip > 0) return true;
  const size_t UnitSize = Encoding == TEncoding::Utf8 ? 1 : Encoding == TEncoding::Utf16BE || Encoding == TEncoding::Utf16LE ? 2 : 4;
  if (First.size() < UnitSize) return false;
  const bool BigEndian = Encoding == TEncoding::Utf16BE || Encoding == TEncoding::Utf32BE;
  const uint32_t Unit = ::Unit(First, 0, UnitSize, BigEndian);
  return Unit == '<' || Unit == ' ' || Unit == '\t' || Unit == '\r' || Unit == '\n';
}

std::string XmpPacketText(std::span<const uint8_t> Packet) {
  size_t Skip = 0;
  const TEncoding Encoding = EncodingOf(Packet, Skip);
  const std::span<const uint8_t> Bytes = Packet.subspan(std::min(Skip, Packet.size()));
  std::string Text;
  switch (Encoding) {
    case TEncoding::Utf8: {
      const auto Zero = std::find(Bytes.begin(), Bytes.end(), 0);
      Text.assign(Bytes.begin(), Zero);
      break;
    }
    case TEncoding::Utf16BE: Text = WideToUtf8(Bytes, 2, true); break;
    case TEncoding::Utf16LE: Text = WideToUtf8(Bytes, 2, false); break;
    case TEncoding::Utf32BE: Text = WideToUtf8(Bytes, 4, true); break;
    case TEncoding::Utf32LE: Text = WideToUtf8(Bytes, 4, false); break;
  }
  const size_t Trailer = Text.rfind("<?xpacket end");
  if (Trailer != std::string::npos) {
    const size_t End = Text.find("?>", Trailer);
    if (End != std::string::npos) Text.resize(End + 2);
  }
  return Text;
}

std::string WordsOfName(std::string_view Local) {
  std::string Words;
  Words.reserve(Local.size() + 8);
  for (size_t Index = 0; Index < Local.size(); ++Index) {
    const char C = Local[Index];
    if (Index > 0) {
      const char Before = Local[Index - 1];
      const bool After = Index + 1 < Local.size();
      const bool Break = (IsUpper(C) && (IsLower(Before) || IsDigit(Before))) ||
                         (IsUpper(C) && IsUpper(Before) && After && IsLower(Local[Index + 1])) ||
                         (IsDigit(C) && (IsLower(Before) || IsUpper(Before)));
      if (Break && !Words.empty() && Words.back() != ' ') Words += ' ';
    }
    if (C == '_') {
      if (!Words.empty() && Words.back() != ' ') Words += ' ';
    } else {
      Words += Words.empty() && IsLower(C) ? static_cast<char>(C - 'a' + 'A') : C;
    }
  }
  return Words;
}

std::string_view TrimBlanks(std::string_view Text) {
  while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);
  return Text;
}
