// The MD5 message digest (RFC 1321), with which Extended XMP names its
// packet. Private to the reader.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

std::array<uint8_t, 16> Md5(std::span<const uint8_t> Bytes);

// The digest in 32 hexadecimal digits, capitals, as Extended XMP's GUID.
std::string Md5Hex(std::span<const uint8_t> Bytes);
