// Every real photo of the shared corpus loads, with the rows that matter.
#include <gtest/gtest.h>

#include "Corpus.h"
#include "EXIF_Intf.h"

namespace {

TEST(Corpus, EveryFileLoads) {
  SKIP_WITHOUT_CORPUS();
  const std::vector<std::string> Files = CorpusFiles();
  EXPECT_GE(Files.size(), 29u);
  TEXIF Doc;
  for (const std::string& File : Files) {
    EXPECT_NO_THROW(Doc.LoadFromFile(File)) << File;
    EXPECT_EQ(Doc.FileName(), File);
  }
}

}  // namespace
