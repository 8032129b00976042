#include "MemoryStream.h"

#include <algorithm>

void TMemoryStream::Assign(TByteBuffer Bytes) {
  FBytes = std::move(Bytes);
  FPosition = 0;
}

void TMemoryStream::Clear() { Assign({}); }

std::span<const uint8_t> TMemoryStream::Slice(int64_t Start, int64_t Count) const {
  if (Start < 0 || Start >= Size() || Count <= 0) return {};
  const int64_t Length = std::min(Count, Size() - Start);
  return std::span<const uint8_t>(FBytes).subspan(static_cast<size_t>(Start), static_cast<size_t>(Length));
}
