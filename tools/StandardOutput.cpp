#include "StandardOutput.h"

#include <unistd.h>

#include <cerrno>

void TStandardOutput::Write(std::string_view Bytes) {
  if (FBuffer.size() + Bytes.size() > Capacity) {
    Flush();
    if (Bytes.size() >= Capacity) return WriteThrough(Bytes);
  }
  if (FError == 0) FBuffer += Bytes;
}

bool TStandardOutput::Flush() {
  WriteThrough(FBuffer);
  FBuffer.clear();
  return FError == 0;
}

void TStandardOutput::WriteThrough(std::string_view Bytes) {
  while (FError == 0 && !Bytes.empty()) {
    const ssize_t Written = ::write(STDOUT_FILENO, Bytes.data(), Bytes.size());
    if (Written < 0 && errno == EINTR) continue;
    if (Written < 0) FError = errno;
    else Bytes.remove_prefix(static_cast<size_t>(Written));
  }
}
