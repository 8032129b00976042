#include "Corpus.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

std::string CorpusDir() {
  const fs::path Dir = fs::path(LUMENTAG_SOURCE_DIR) / ".." / "shared" / "corpus";
  std::error_code Error;
  if (!fs::is_directory(Dir, Error)) return {};
  return fs::weakly_canonical(Dir, Error).string();
}

std::string CorpusFile(const std::string& Name) { return (fs::path(CorpusDir()) / Name).string(); }

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> Files;
  const std::string Dir = CorpusDir();
  if (Dir.empty()) return Files;
  for (const fs::directory_entry& Entry : fs::directory_iterator(Dir))
    if (Entry.is_regular_file() && Entry.path().extension() != ".md")
      Files.push_back(Entry.path().string());
  std::sort(Files.begin(), Files.end());
  return Files;
}
