// Runs a fuzz target over files without libFuzzer: each argument is a file or
// a folder of files (folders that do not exist are skipped). A crash, a
// sanitizer report or an escaping exception fails the run.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

namespace fs = std::filesystem;

namespace {

void Replay(const fs::path& File) {
  std::ifstream In(File, std::ios::binary);
  const std::vector<uint8_t> Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(Bytes.data(), Bytes.size());
}

}  // namespace

int main(int Argc, char** Argv) {
  size_t Files = 0;
  for (int Index = 1; Index < Argc; ++Index) {
    const fs::path Path = Argv[Index];
    std::error_code Error;
    if (fs::is_regular_file(Path, Error)) {
      Replay(Path);
      ++Files;
    } else if (fs::is_directory(Path, Error)) {
      for (const fs::directory_entry& Entry : fs::recursive_directory_iterator(Path))
        if (Entry.is_regular_file()) {
          Replay(Entry.path());
          ++Files;
        }
    }
  }
  std::cout << "replayed " << Files << " inputs\n";
  return 0;
}
