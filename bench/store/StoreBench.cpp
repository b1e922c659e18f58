// Saving and loading a full profile (all 228 key records in use) and one Plug
// write on a config.ini of normal size, each against writing and reading the
// same file bytes once with plain write, sync, rename and read. Both sides sync
// the file before the rename, as every store write does. The ratios at the end
// come from this one run.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "store/ConfigFile.h"
#include "store/ProfileFile.h"

namespace {

class BenchFolder {
 public:
  BenchFolder() {
    char pattern[] = "/tmp/pv37-store-bench-XXXXXX";
    m_path = std::string(mkdtemp(pattern)) + "/";
    std::filesystem::create_directory(m_path + "Profiles");
  }
  ~BenchFolder() { std::filesystem::remove_all(m_path); }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

std::unique_ptr<ProfileBlock> FullProfile() {
  auto block = std::make_unique<ProfileBlock>();
  ResetProfile(*block);
  auto fill = [](ButtonInfo& key, int seed) {
    std::memset(&key, seed % 200 + 1, sizeof key);
    key.kind = kKindAssigned;
    key.code = 512;
  };
  for (int i = 0; i < kButtonInfoCount; ++i) fill(block->buttonInfo[i], i);
  for (int i = 0; i < kButtonInfoCount; ++i) fill(block->fnButtonInfo[i], 300 + i);
  for (int i = 0; i < kGButtonInfoCount; ++i) fill(block->gButtonInfo[i], 600 + i);
  for (int i = 0; i < kLinkExeCount; ++i) block->linkExe[i][0] = u'/';
  block->lightInfo.color = 0x123456;
  return block;
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  char buffer[65536];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(n));
  ::close(fd);
  return bytes;
}

// The baseline: the file's bytes written, synced and renamed into place once, then read once.
void PlainWriteRenameRead(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
  ::fdatasync(fd);
  ::close(fd);
  ::rename(temp.c_str(), path.c_str());
  benchmark::DoNotOptimize(ReadAll(path));
}

void BM_PlainProfileBytes(benchmark::State& state) {
  BenchFolder folder;
  SaveProfile(*FullProfile(), folder.Path(), u"Full");
  const std::string path = ProfilePath(folder.Path(), u"Full");
  const std::string bytes = ReadAll(path);
  for (auto _ : state) PlainWriteRenameRead(path, bytes);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_SaveLoadProfile(benchmark::State& state) {
  BenchFolder folder;
  auto saved = FullProfile();
  auto loaded = std::make_unique<ProfileBlock>();
  uint8_t speed = 0;
  for (auto _ : state) {
    // A changed value each time, so every save really rewrites the file.
    saved->lightInfo.speed = speed++ % 5;
    SaveProfile(*saved, folder.Path(), u"Full");
    ResetProfile(*loaded);
    LoadProfile(*loaded, folder.Path(), u"Full");
    benchmark::DoNotOptimize(loaded->repotRate);
  }
}

// config.ini as it is after a first run and a whole-section save.
std::string NormalConfig(const std::string& dataFolder) {
  auto record = std::make_unique<ConfigRecord>();
  ResetConfig(*record);
  LoadConfig(*record, dataFolder);
  SaveConfig(*record, dataFolder);
  WriteFirmwareVersion(dataFolder, u"0105");
  return ConfigPath(dataFolder);
}

void BM_PlainConfigBytes(benchmark::State& state) {
  BenchFolder folder;
  const std::string path = NormalConfig(folder.Path());
  const std::string bytes = ReadAll(path);
  for (auto _ : state) PlainWriteRenameRead(path, bytes);
}

void BM_WritePlug(benchmark::State& state) {
  BenchFolder folder;
  NormalConfig(folder.Path());
  int plug = 0;
  for (auto _ : state) WritePlug(folder.Path(), plug++ % 2);
}

BENCHMARK(BM_PlainProfileBytes)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLoadProfile)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainConfigBytes)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WritePlug)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Keeps every run's real time per iteration, to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name) const {
    const auto found = m_times.find(name);
    return found == m_times.end() ? 0.0 : found->second;
  }

 private:
  std::map<std::string, double> m_times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double plainProfile = reporter.Time("BM_PlainProfileBytes/real_time");
  const double saveLoad = reporter.Time("BM_SaveLoadProfile/real_time");
  const double plainConfig = reporter.Time("BM_PlainConfigBytes/real_time");
  const double plug = reporter.Time("BM_WritePlug/real_time");
  std::printf("\nRatios (same run):\n");
  if (plainProfile > 0 && saveLoad > 0)
    std::printf(
        "  SaveProfile + LoadProfile / plain write+rename+read of the same bytes: %.2f "
        "(goal <= 3)\n",
        saveLoad / plainProfile);
  if (plainConfig > 0 && plug > 0)
    std::printf("  WritePlug / plain write+rename+read of config.ini's bytes: %.2f\n",
                plug / plainConfig);
  benchmark::Shutdown();
  return 0;
}
