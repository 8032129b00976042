// Number texts in the forms the value texts are made of: "%g" (general form,
// 15 significant digits, no trailing zeros), "%1.0f" (no decimals), "%d" and
// upper-case "%X". Decimals use the separator of the user's locale (LC_NUMERIC
// as the program set it with setlocale); "%g" never prints a negative zero and
// writes NaN and the infinities as nan, inf and -inf.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

void AppendG(std::string& Out, double Value);
void AppendFixed0(std::string& Out, double Value);
void AppendInt(std::string& Out, int64_t Value);
void AppendHex(std::string& Out, uint64_t Value, int MinDigits = 1);

std::string FormatG(double Value);
std::string FormatHex(uint64_t Value, int MinDigits = 1);
