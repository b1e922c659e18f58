#include <gtest/gtest.h>

#include <filesystem>

#include "IniDocumentCheck.h"
#include "TestFiles.h"

namespace {

TEST(FuzzCorpusReplayTest, EveryCorpusFileKeepsTheReaderInvariants) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(PV37_FUZZ_CORPUS_DIR)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const auto problem = CheckIniDocument(testfiles::ReadBytes(entry.path().string()));
    EXPECT_FALSE(problem.has_value()) << entry.path() << ": " << problem.value_or("");
  }
  EXPECT_GT(files, 0);
}

}  // namespace
