#include "Inflate.h"

#include <zlib.h>

#include <algorithm>

std::optional<TByteBuffer> InflateBounded(std::span<const uint8_t> Compressed, size_t MaxBytes) {
  z_stream Stream{};
  if (inflateInit(&Stream) != Z_OK) return std::nullopt;
  TByteBuffer Out;
  int Status = Z_OK;
  Stream.next_in = const_cast<Bytef*>(Compressed.data());  // zlib does not write to its input
  Stream.avail_in = static_cast<uInt>(std::min<size_t>(Compressed.size(), UINT32_MAX));
  while (Status == Z_OK) {
    const size_t Done = Out.size();
    const size_t Room = std::min<size_t>(MaxBytes + 1 - Done, 65536);
    if (Room == 0) break;
    Out.resize(Done + Room);
    Stream.next_out = Out.data() + Done;
    Stream.avail_out = static_cast<uInt>(Room);
    Status = inflate(&Stream, Z_NO_FLUSH);
    Out.resize(Done + Room - Stream.avail_out);
    if (Status == Z_BUF_ERROR && Stream.avail_out != 0) break;  // the input ended early
    if (Status == Z_BUF_ERROR) Status = Z_OK;
  }
  inflateEnd(&Stream);
  if (Status != Z_STREAM_END || Out.size() > MaxBytes) return std::nullopt;
  return Out;
}
