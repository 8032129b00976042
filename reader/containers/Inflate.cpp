// zlib is loaded when a compressed text chunk is first inflated, not at every
// start of the programs: it is needed only for PNG files whose EXIF or XMP is
// compressed, and a shared library loaded at start costs every run of the
// command-line tool, whatever it reads.
#include "Inflate.h"

#include <zlib.h>

#include <algorithm>

#include "LibraryLoader.h"

namespace {

struct TZlib {
  decltype(&inflateInit_) InflateInit = nullptr;
  decltype(&inflate) Inflate = nullptr;
  decltype(&inflateEnd) InflateEnd = nullptr;
};

// The library's functions, or nothing when it cannot be loaded.
const TZlib* Zlib() {
  static const std::optional<TZlib> Loaded = []() -> std::optional<TZlib> {
    TZlib Functions;
    TLibraryLoader Library("libz.so.1");
    Library.Find(Functions.InflateInit, "inflateInit_");
    Library.Find(Functions.Inflate, "inflate");
    Library.Find(Functions.InflateEnd, "inflateEnd");
    if (!Library.Finish().empty()) return std::nullopt;
    return Functions;
  }();
  return Loaded ? &*Loaded : nullptr;
}

}  // namespace

std::optional<TByteBuffer> InflateBounded(std::span<const uint8_t> Compressed, size_t MaxBytes) {
  const TZlib* Z = Zlib();
  z_stream Stream{};
  if (Z == nullptr || Z->InflateInit(&Stream, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK)
    return std::nullopt;
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
    Status = Z->Inflate(&Stream, Z_NO_FLUSH);
    Out.resize(Done + Room - Stream.avail_out);
    if (Status == Z_BUF_ERROR && Stream.avail_out != 0) break;  // the input ended early
    if (Status == Z_BUF_ERROR) Status = Z_OK;
  }
  Z->InflateEnd(&Stream);
  if (Status != Z_STREAM_END || Out.size() > MaxBytes) return std::nullopt;
  return Out;
}
