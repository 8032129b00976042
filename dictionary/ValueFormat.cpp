#include "ValueFormat.h"

#include <charconv>
#include <langinfo.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

#include "EXIF_Defs.h"

namespace {

// Numbers are first written into a small buffer with '.' as the decimal
// point, then appended with the locale's separator in its place.
struct TNumberText {
  char Chars[400];  // fixed notation of the largest double needs 309 digits
  char* End = Chars;

  std::string_view View() const { return {Chars, static_cast<size_t>(End - Chars)}; }
  void Put(std::string_view Text) {
    std::memcpy(End, Text.data(), Text.size());
    End += Text.size();
  }
  void PutInt(int64_t Value) { End = std::to_chars(End, Chars + sizeof Chars, Value).ptr; }
};

// The decimal separator of LC_NUMERIC. nl_langinfo reads it straight from
// the current locale, without the copying localeconv does.
std::string_view LocaleDecimalSeparator() {
  const char* Radix = ::nl_langinfo(RADIXCHAR);
  return (Radix == nullptr || Radix[0] == '\0') ? "." : Radix;
}

void AppendLocalized(std::string& Out, std::string_view Text) {
  const size_t Point = Text.find('.');
  const std::string_view Separator = Point == std::string_view::npos ? "." : LocaleDecimalSeparator();
  if (Separator == ".") {
    Out.append(Text);
    return;
  }
  Out.append(Text.substr(0, Point)).append(Separator).append(Text.substr(Point + 1));
}

bool PutNonFinite(TNumberText& Text, double Value) {
  if (std::isnan(Value)) {
    Text.Put("nan");
    return true;
  }
  if (std::isinf(Value)) {
    Text.Put(Value < 0 ? "-inf" : "inf");
    return true;
  }
  return false;
}

// Whole numbers below 10^15 print the same in both forms, as plain integers;
// most values of a photo's tags are such numbers.
bool PutWholeNumber(TNumberText& Text, double Value) {
  constexpr double Limit = 1e15;
  if (!(Value > -Limit && Value < Limit) || Value != static_cast<double>(static_cast<int64_t>(Value)))
    return false;
  Text.PutInt(static_cast<int64_t>(Value));  // -0.0 becomes 0 here
  return true;
}

// Numbers with at most 6 decimals and at most 15 significant digits, which
// is what most rationals of a photo are (28/10, 1/125, 682/32). When
// Value x 10^k comes out whole, Value lies within a few units of its last
// binary digit of that k-decimal number, far closer than the half unit of a
// 15th significant digit, so "%g" prints exactly these digits; for
// magnitudes from 10^-4 on it prints them without an exponent.
bool PutShortDecimal(TNumberText& Text, double Value) {
  constexpr int64_t Scales[] = {10, 100, 1000, 10000, 100000, 1000000};
  if (!(std::fabs(Value) >= 1e-4 && std::fabs(Value) < 1e9)) return false;
  for (int Decimals = 1; Decimals <= 6; ++Decimals) {
    const int64_t Scale = Scales[Decimals - 1];
    const double Scaled = Value * static_cast<double>(Scale);
    if (Scaled != std::floor(Scaled) || std::fabs(Scaled) >= 1e15) continue;
    const auto Digits = static_cast<int64_t>(Scaled);
    int64_t Magnitude = Digits < 0 ? -Digits : Digits;
    if (Digits < 0) Text.Put("-");
    Text.PutInt(Magnitude / Scale);
    Text.Put(".");
    char Fraction[6];
    Magnitude %= Scale;
    for (int Place = Decimals - 1; Place >= 0; --Place, Magnitude /= 10)
      Fraction[Place] = static_cast<char>('0' + Magnitude % 10);
    int Length = Decimals;
    while (Fraction[Length - 1] == '0') --Length;  // no trailing zeros, as "%g" prints
    Text.Put({Fraction, static_cast<size_t>(Length)});
    return true;
  }
  return false;
}

// A number that prints as zero prints without a sign.
bool IsNegativeZeroText(std::string_view Text) {
  if (Text.empty() || Text[0] != '-') return false;
  return Text.find_first_not_of("-0.") == std::string_view::npos;
}

void AppendFormatted(std::string& Out, double Value, std::chars_format Form, int Precision) {
  TNumberText Text;
  const bool Done = PutWholeNumber(Text, Value) || PutNonFinite(Text, Value) ||
                    (Form == std::chars_format::general && PutShortDecimal(Text, Value));
  if (!Done) {
    Text.End = std::to_chars(Text.Chars, Text.Chars + sizeof Text.Chars, Value, Form, Precision).ptr;
    if (IsNegativeZeroText(Text.View())) {
      Out.append(Text.View().substr(1));
      return;
    }
  }
  AppendLocalized(Out, Text.View());
}

}  // namespace

void AppendG(std::string& Out, double Value) {
  AppendFormatted(Out, Value, std::chars_format::general, 15);
}

void AppendFixed0(std::string& Out, double Value) {
  AppendFormatted(Out, Value, std::chars_format::fixed, 0);
}

void AppendInt(std::string& Out, int64_t Value) {
  char Buffer[24];
  const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
  Out.append(Buffer, Result.ptr);
}

void AppendHex(std::string& Out, uint64_t Value, int MinDigits) {
  char Buffer[24];
  const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value, 16);
  const auto Digits = static_cast<int>(Result.ptr - Buffer);
  if (Digits < MinDigits) Out.append(static_cast<size_t>(MinDigits - Digits), '0');
  for (const char* Digit = Buffer; Digit != Result.ptr; ++Digit)
    Out += (*Digit >= 'a' && *Digit <= 'f') ? static_cast<char>(*Digit - 'a' + 'A') : *Digit;
}

std::string FormatG(double Value) {
  std::string Out;
  AppendG(Out, Value);
  return Out;
}

std::string FormatHex(uint64_t Value, int MinDigits) {
  std::string Out;
  AppendHex(Out, Value, MinDigits);
  return Out;
}

int64_t TruncToInt64(double Value) {
  if (std::isnan(Value)) return 0;
  // 2^63 is exactly representable; anything at or beyond it saturates.
  constexpr double Limit = 9223372036854775808.0;
  if (Value >= Limit) return std::numeric_limits<int64_t>::max();
  if (Value < -Limit) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(Value);
}

int32_t Selector(double Value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(TruncToInt64(Value))));
}
