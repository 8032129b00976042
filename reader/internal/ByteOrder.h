// Numbers from bytes in either byte order, assembled with shifts. TIFF data
// is "II" (little-endian) or "MM" (big-endian); PNG and ISO base media files
// are big-endian, RIFF (WebP) little-endian.
#pragma once

#include <bit>
#include <cstdint>

inline uint16_t Little16(const uint8_t* Bytes) { return static_cast<uint16_t>(Bytes[0] | (Bytes[1] << 8)); }
inline uint32_t Little32(const uint8_t* Bytes) {
  return uint32_t{Bytes[0]} | (uint32_t{Bytes[1]} << 8) | (uint32_t{Bytes[2]} << 16) | (uint32_t{Bytes[3]} << 24);
}
inline uint16_t Big16(const uint8_t* Bytes) { return static_cast<uint16_t>((Bytes[0] << 8) | Bytes[1]); }
inline uint32_t Big32(const uint8_t* Bytes) {
  return (uint32_t{Bytes[0]} << 24) | (uint32_t{Bytes[1]} << 16) | (uint32_t{Bytes[2]} << 8) | uint32_t{Bytes[3]};
}

// The exchange of a 16-bit value's two bytes.
constexpr uint16_t Swap16(uint16_t Value) { return static_cast<uint16_t>((Value >> 8) | (Value << 8)); }

// For big-endian ("MM") TIFF data: the 32-bit value with its bytes reversed,
// and the double whose 8 bytes are those of (Lo, Hi) in reverse order.
constexpr uint32_t SwapLong(uint32_t Value) {
  return (Value >> 24) | ((Value >> 8) & 0xFF00) | ((Value << 8) & 0xFF0000) | (Value << 24);
}
constexpr double SwapDouble(uint32_t Lo, uint32_t Hi) {
  return std::bit_cast<double>((uint64_t{SwapLong(Lo)} << 32) | SwapLong(Hi));
}
