#include "TempDir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TTempDir::TTempDir() {
  std::string Pattern = (fs::temp_directory_path() / "lumentag-XXXXXX").string();
  if (::mkdtemp(Pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  FPath = Pattern;
}

TTempDir::~TTempDir() {
  std::error_code Ignored;
  fs::remove_all(FPath, Ignored);
}

void WriteFile(const std::string& Path, const std::vector<uint8_t>& Bytes) {
  std::ofstream Out(Path, std::ios::binary);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  if (!Out) throw std::runtime_error("cannot write " + Path);
}

TByteBuffer ReadWholeFile(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  if (!In) throw std::runtime_error("cannot read " + Path);
  TByteBuffer Bytes;
  char Chunk[65536];
  while (In.read(Chunk, sizeof Chunk) || In.gcount() > 0)
    Bytes.insert(Bytes.end(), reinterpret_cast<const uint8_t*>(Chunk), reinterpret_cast<const uint8_t*>(Chunk) + In.gcount());
  return Bytes;
}

std::string TTempDir::Write(const std::string& Name, const std::vector<uint8_t>& Bytes) const {
  const std::string File = Path(Name);
  WriteFile(File, Bytes);
  return File;
}

std::string TTempDir::Path(const std::string& Name) const { return (fs::path(FPath) / Name).string(); }
