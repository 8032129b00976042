#include "MemoryStream.h"

#include <algorithm>
#include <cstring>

void TMemoryStream::Assign(TByteBuffer Bytes) {
  FBytes = std::move(Bytes);
  FPosition = 0;
}

void TMemoryStream::Clear() { Assign({}); }

int64_t TMemoryStream::Remaining() const {
  if (FPosition < 0 || FPosition >= Size()) return 0;
  return Size() - FPosition;
}

size_t TMemoryStream::Read(std::span<uint8_t> Buffer) {
  const auto Count = static_cast<size_t>(std::min<int64_t>(Remaining(), static_cast<int64_t>(Buffer.size())));
  if (Count > 0) std::memcpy(Buffer.data(), FBytes.data() + FPosition, Count);
  FPosition += static_cast<int64_t>(Count);
  return Count;
}

std::span<const uint8_t> TMemoryStream::Slice(int64_t Start, int64_t Count) const {
  if (Start < 0 || Start >= Size() || Count <= 0) return {};
  const int64_t Length = std::min(Count, Size() - Start);
  return std::span<const uint8_t>(FBytes).subspan(static_cast<size_t>(Start), static_cast<size_t>(Length));
}
