// Eight bytes of a text tested at once (the "has less than" and "has zero
// byte" tests of Sean Eron Anderson's Bit Twiddling Hacks), so that the
// writers skip plain text a word at a time and look at single bytes only
// where one may need escaping.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace PlainBytes {

constexpr uint64_t Ones = 0x0101010101010101;
constexpr uint64_t HighBits = 0x8080808080808080;

// The eight bytes of Text from At (At + 8 <= Text.size()).
inline uint64_t Word(std::string_view Text, size_t At) {
  uint64_t Value;
  std::memcpy(&Value, Text.data() + At, sizeof Value);
  return Value;
}

// Whether a byte of Value is 0x80 or above.
constexpr bool AnyHigh(uint64_t Value) { return (Value & HighBits) != 0; }
// Whether a byte of Value is below Limit (at most 0x80).
constexpr bool AnyBelow(uint64_t Value, uint8_t Limit) { return ((Value - Ones * Limit) & ~Value & HighBits) != 0; }
// Whether a byte of Value is Byte.
constexpr bool Any(uint64_t Value, uint8_t Byte) { return AnyBelow(Value ^ (Ones * Byte), 1); }

}  // namespace PlainBytes
