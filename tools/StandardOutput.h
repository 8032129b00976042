// Standard output through a buffer of our own, so that a write that fails (a
// full disk, a closed pipe) is seen, with its reason, instead of the output
// being lost without a word.
#pragma once

#include <string>
#include <string_view>

class TStandardOutput {
 public:
  TStandardOutput() { FBuffer.reserve(Capacity); }

  // Appends Bytes; nothing more is written once a write has failed.
  void Write(std::string_view Bytes);
  // Writes what the buffer holds; false when any write has failed.
  bool Flush();
  bool Failed() const { return FError != 0; }
  // The errno of the first write that failed; 0 while all went well.
  int Error() const { return FError; }

 private:
  static constexpr size_t Capacity = 65536;
  void WriteThrough(std::string_view Bytes);

  std::string FBuffer;
  int FError = 0;
};
