// zlib data (PNG's compressed text chunks) inflated into at most a given
// number of bytes, so that a few bytes of a deflate bomb cannot cost more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "ByteBuffer.h"

// The inflated bytes, or nothing when the data are not whole, valid zlib
// data or would inflate to more than MaxBytes.
std::optional<TByteBuffer> InflateBounded(std::span<const uint8_t> Compressed, size_t MaxBytes);
