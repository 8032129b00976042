// The shared corpus of real photos, beside the repository. Tests that read it
// skip themselves with a clear message when it is absent.
#pragma once

#include <string>
#include <vector>

// The corpus folder, or an empty string when it is not there.
std::string CorpusDir();
// The path of one corpus file (whether or not it exists).
std::string CorpusFile(const std::string& Name);
// All photo files of the corpus, sorted by name.
std::vector<std::string> CorpusFiles();

#define SKIP_WITHOUT_CORPUS()                                                            \
  do {                                                                                   \
    if (CorpusDir().empty())                                                             \
      GTEST_SKIP() << "corpus of real photos not found beside the repository "          \
                      "(../shared/corpus); skipping";                                    \
  } while (0)
