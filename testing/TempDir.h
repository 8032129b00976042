// A fresh temporary folder for the files a test writes, removed with the
// object.
#pragma once

#include <string>

#include "ByteBuffer.h"
#include <vector>

// Writes Bytes to the file Path, replacing it; throws when it cannot.
void WriteFile(const std::string& Path, const std::vector<uint8_t>& Bytes);
// All the bytes of the file Path; throws when it cannot be read.
TByteBuffer ReadWholeFile(const std::string& Path);

class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  // Writes Bytes to the file Name in the folder and returns its path.
  std::string Write(const std::string& Name, const std::vector<uint8_t>& Bytes) const;
  std::string Path(const std::string& Name) const;

 private:
  std::string FPath;
};
