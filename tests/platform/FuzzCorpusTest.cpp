#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size);

namespace {

// Every input the fuzzer kept goes through the parsers again; a broken invariant traps.
TEST(PlatformFuzzCorpus, ReplaysEveryKeptInput) {
  std::size_t replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(PV37_PLATFORM_CORPUS_DIR)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    EXPECT_EQ(
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        0);
    ++replayed;
  }
  EXPECT_GT(replayed, 0u);
}

}  // namespace
