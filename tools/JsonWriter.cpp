#include "JsonWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "PlainBytes.h"

namespace {

// How a byte stands in a JSON string: as it is, escaped, or as the start of
// a UTF-8 sequence that has to be checked.
enum TByteClass : uint8_t { bcPlain, bcEscaped, bcMultibyte };

constexpr std::array<TByteClass, 256> ByteClasses = [] {
  std::array<TByteClass, 256> Classes{};
  for (size_t Byte = 0; Byte < 256; ++Byte)
    Classes[Byte] = Byte < 0x20 || Byte == '"' || Byte == '\\' ? bcEscaped
                    : Byte >= 0x80                             ? bcMultibyte
                                                               : bcPlain;
  return Classes;
}();

char* PutEscapedByte(char* At, unsigned char Byte) {
  const auto Put = [&](char Second) {
    *At++ = '\\';
    *At++ = Second;
    return At;
  };
  switch (Byte) {
    case '\b': return Put('b');
    case '\t': return Put('t');
    case '\n': return Put('n');
    case '\f': return Put('f');
    case '\r': return Put('r');
    case '"': return Put('"');
    case '\\': return Put('\\');
    default: {
      constexpr char Digits[] = "0123456789abcdef";
      const char Escape[] = {'\\', 'u', '0', '0', Digits[Byte >> 4], Digits[Byte & 0xF]};
      std::memcpy(At, Escape, sizeof Escape);
      return At + sizeof Escape;
    }
  }
}

// The UTF-8 sequence that starts at Text[At], a byte of 0x80 or above: its
// length when it is valid (overlong forms, surrogates and code points above
// U+10FFFF are not), else 0 with Valid set to how many of its bytes could
// still have begun a valid sequence (at least 1: they are replaced as one).
size_t Utf8Sequence(std::string_view Text, size_t At, size_t& Valid) {
  const auto Lead = static_cast<unsigned char>(Text[At]);
  size_t Length = 0;
  unsigned char Low = 0x80, High = 0xBF;  // the range of the second byte
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
  }
  Valid = 1;
  if (Length == 0) return 0;
  for (; Valid < Length && At + Valid < Text.size(); ++Valid) {
    const auto Byte = static_cast<unsigned char>(Text[At + Valid]);
    if (Valid == 1 ? (Byte < Low || Byte > High) : (Byte & 0xC0) != 0x80) return 0;
  }
  return Valid == Length ? Length : 0;
}

constexpr std::string_view Replacement = "\xEF\xBF\xBD";  // U+FFFD

// Whether the eight bytes from At are all written as they are.
bool EightPlainBytes(std::string_view Text, size_t At) {
  using namespace PlainBytes;
  if (Text.size() - At < 8) return false;
  const uint64_t Bytes = Word(Text, At);
  return !AnyHigh(Bytes) && !AnyBelow(Bytes, 0x20) && !Any(Bytes, '"') && !Any(Bytes, '\\');
}

// The most bytes PutString writes for Text: each byte escaped as \u00xx.
size_t StringRoom(std::string_view Text) { return 6 * Text.size() + 2; }

char* PutString(char* Out, std::string_view Text) {
  *Out++ = '"';
  for (size_t At = 0; At < Text.size();) {
    const size_t Plain = At;
    while (EightPlainBytes(Text, At)) At += 8;
    while (At < Text.size() && ByteClasses[static_cast<unsigned char>(Text[At])] == bcPlain) ++At;
    std::memcpy(Out, Text.data() + Plain, At - Plain);
    Out += At - Plain;
    if (At == Text.size()) break;
    if (ByteClasses[static_cast<unsigned char>(Text[At])] == bcEscaped) {
      Out = PutEscapedByte(Out, static_cast<unsigned char>(Text[At++]));
      continue;
    }
    size_t Valid = 0;
    if (const size_t Length = Utf8Sequence(Text, At, Valid)) {
      std::memcpy(Out, Text.data() + At, Length);
      Out += Length;
      At += Length;
      continue;
    }
    std::memcpy(Out, Replacement.data(), Replacement.size());
    Out += Replacement.size();
    At += Valid;
  }
  *Out++ = '"';
  return Out;
}

constexpr size_t NumberRoom = 32;

// nlohmann::json's own conversion, so that numbers print exactly as they
// always have: its Grisu2 digits are not always the fewest (one random
// double in some 600 gets a 17th digit where std::to_chars gives 16).
char* PutNumber(char* Out, double Value) {
  if (!std::isfinite(Value)) {
    std::memcpy(Out, "null", 4);
    return Out + 4;
  }
  // Whole numbers below 10^15, most of a photo's, have no shorter digits
  // than their own: written at once, with the ".0" and the sign of -0.0.
  constexpr double WholeLimit = 1e15;
  if (std::fabs(Value) < WholeLimit && Value == std::trunc(Value)) {
    if (std::signbit(Value)) *Out++ = '-';
    Out = std::to_chars(Out, Out + NumberRoom, static_cast<int64_t>(std::fabs(Value))).ptr;
    *Out++ = '.';
    *Out++ = '0';
    return Out;
  }
  return nlohmann::detail::to_chars(Out, Out + NumberRoom, Value);
}

// Appends what Put writes in at most Room bytes.
template <class TPut>
void AppendPut(std::string& Out, size_t Room, TPut&& Put) {
  const size_t Used = Out.size();
  Out.resize(Used + Room);
  Out.resize(static_cast<size_t>(Put(Out.data() + Used) - Out.data()));
}

}  // namespace

void AppendJsonString(std::string& Out, std::string_view Text) {
  AppendPut(Out, StringRoom(Text), [&](char* At) { return PutString(At, Text); });
}

void AppendJsonNumber(std::string& Out, double Value) {
  AppendPut(Out, NumberRoom, [&](char* At) { return PutNumber(At, Value); });
}

TJsonWriter::TJsonWriter(std::string& Out, TJsonLayout Layout, int Depth)
    : FOut(Out), FPretty(Layout == TJsonLayout::jlPretty), FBase(Depth) {
  FAt = FEnd = FOut.data() + FOut.size();
}

TJsonWriter::~TJsonWriter() { FOut.resize(static_cast<size_t>(FAt - FOut.data())); }

void TJsonWriter::Grow(size_t Size) {
  constexpr size_t Step = 4096;
  const auto Used = static_cast<size_t>(FAt - FOut.data());
  FOut.resize(Used + std::max(Size, Step));
  FAt = FOut.data() + Used;
  FEnd = FOut.data() + FOut.size();
}

void TJsonWriter::Open(char Bracket) {
  Element(1);
  *FAt++ = Bracket;
  ++FOpen;
  FEmpty = true;
}

void TJsonWriter::Close(char Bracket) {
  --FOpen;
  Room(2 + 2 * static_cast<size_t>(FBase + FOpen));
  if (FPretty && !FEmpty) NewLine(FBase + FOpen);
  *FAt++ = Bracket;
  FEmpty = false;
}

void TJsonWriter::String(std::string_view Text) {
  Element(StringRoom(Text));
  FAt = PutString(FAt, Text);
}

void TJsonWriter::Number(double Value) {
  Element(NumberRoom);
  FAt = PutNumber(FAt, Value);
}

void TJsonWriter::Integer(int64_t Value) {
  Element(NumberRoom);
  FAt = std::to_chars(FAt, FAt + NumberRoom, Value).ptr;
}
