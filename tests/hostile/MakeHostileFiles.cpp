// make-hostile-files DIR: writes the crafted hostile files into DIR, with a
// README.txt saying what each one attacks, and the maker-note fuzzer's
// starting inputs into DIR/makernote.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "HostileFiles.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& Path, const TBytes& Bytes) {
  std::ofstream Out(Path, std::ios::binary);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  if (!Out) throw std::runtime_error("cannot write " + Path.string());
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::cerr << "usage: make-hostile-files DIR\n";
    return 2;
  }
  const fs::path Dir = Argv[1];
  fs::create_directories(Dir / "makernote");
  std::ofstream Readme(Dir / "README.txt");
  for (const THostileFile& File : HostileFiles()) {
    WriteFile(Dir / File.Name, File.Bytes);
    Readme << File.Name << ": " << File.Attack << "\n";
  }
  for (const auto& [Name, Bytes] : MakerNoteFuzzInputs()) WriteFile(Dir / "makernote" / Name, Bytes);
  return 0;
}
