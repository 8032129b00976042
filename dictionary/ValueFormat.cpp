#include "ValueFormat.h"

#include <charconv>
#include <langinfo.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "EXIF_Defs.h"

namespace {

// The decimal separator of LC_NUMERIC. nl_langinfo reads it straight from
// the current locale, without the copying localeconv does.
std::string_view LocaleDecimalSeparator() {
  const char* Radix = ::nl_langinfo(RADIXCHAR);
  return (Radix == nullptr || Radix[0] == '\0') ? "." : Radix;
}

// Appends Text (as std::to_chars wrote it, with a '.' decimal point) with the
// locale's separator in place of the point.
void AppendLocalized(std::string& Out, std::string_view Text) {
  const size_t Point = Text.find('.');
  if (Point == std::string_view::npos) {
    Out += Text;
    return;
  }
  Out += Text.substr(0, Point);
  Out += LocaleDecimalSeparator();
  Out += Text.substr(Point + 1);
}

bool AppendNonFinite(std::string& Out, double Value) {
  if (std::isnan(Value)) {
    Out += "nan";
    return true;
  }
  if (std::isinf(Value)) {
    Out += Value < 0 ? "-inf" : "inf";
    return true;
  }
  return false;
}

// A number that prints as zero prints without a sign.
bool IsNegativeZeroText(std::string_view Text) {
  if (Text.empty() || Text[0] != '-') return false;
  return Text.find_first_not_of("-0.") == std::string_view::npos;
}

// Whole numbers below 10^15 print the same in both forms, as plain integers;
// most values of a photo's tags are such numbers.
bool AppendWholeNumber(std::string& Out, double Value) {
  constexpr double Limit = 1e15;
  if (!(Value > -Limit && Value < Limit) || Value != static_cast<double>(static_cast<int64_t>(Value)))
    return false;
  AppendInt(Out, static_cast<int64_t>(Value));  // -0.0 becomes 0 here
  return true;
}

void AppendFormatted(std::string& Out, double Value, std::chars_format Form, int Precision) {
  if (AppendWholeNumber(Out, Value) || AppendNonFinite(Out, Value)) return;
  char Buffer[400];  // fixed notation of the largest double needs 309 digits
  const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value, Form, Precision);
  std::string_view Text(Buffer, static_cast<size_t>(Result.ptr - Buffer));
  if (IsNegativeZeroText(Text)) Text.remove_prefix(1);
  AppendLocalized(Out, Text);
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

std::string FormatFixed0(double Value) {
  std::string Out;
  AppendFixed0(Out, Value);
  return Out;
}

std::string FormatInt(int64_t Value) {
  std::string Out;
  AppendInt(Out, Value);
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
