// Text from the 8-bit bytes of a file: taken as UTF-8 when the bytes are valid
// UTF-8, else as Windows-1252, the code page cameras and Windows tools write.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// MayBeCut says the bytes were cut at a length limit: an incomplete UTF-8
// sequence at their very end is then dropped rather than taken as a sign
// that the text is not UTF-8.
std::string TextFromFileBytes(std::span<const uint8_t> Bytes, bool MayBeCut = false);

// The bytes as Windows-1252 text (undefined bytes become the C1 control of
// the same number).
std::string TextFromWindows1252(std::span<const uint8_t> Bytes);

// Whether the bytes are valid UTF-8 throughout.
bool IsUtf8(std::span<const uint8_t> Bytes);

// Appends the UTF-8 bytes of a code point (at most U+10FFFF).
void AppendUtf8(std::string& Out, char32_t CodePoint);
