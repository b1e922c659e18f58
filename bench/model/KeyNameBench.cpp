// The key assignment page names all 61 keys at every redraw. Baseline: naming a
// key from the default document, which is read once and kept. Compared: a
// language document, which is read afresh at every lookup so that an edited
// file shows at once; a character key, which asks the layout; and the two
// layout conversions the page runs per key.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "model/KeyCodeTable.h"
#include "model/KeyMatrix.h"
#include "model/KeyNameTable.h"
#include "platform/KeyboardLayout.h"

namespace {

KeyNameTable& Table() {
  static KeyNameTable table(std::string(PV37_STAGE_DIR) + "/");
  return table;
}

void BM_Baseline_NamedKeyDefaultDocument(benchmark::State& state) {
  platform::SetKeyboardLayout("us");
  for (auto _ : state) benchmark::DoNotOptimize(Table().KeyName(0x0D, u""));
}
BENCHMARK(BM_Baseline_NamedKeyDefaultDocument);

void BM_NamedKeyLanguageDocument(benchmark::State& state) {
  platform::SetKeyboardLayout("us");
  for (auto _ : state) benchmark::DoNotOptimize(Table().KeyName(0x0D, u"FR"));
}
BENCHMARK(BM_NamedKeyLanguageDocument);

void BM_CharacterKeyFromLayout(benchmark::State& state) {
  platform::SetKeyboardLayout("fr");
  for (auto _ : state) benchmark::DoNotOptimize(Table().KeyName('A', u""));
}
BENCHMARK(BM_CharacterKeyFromLayout);

void BM_ConvertAllKeysBothWays(benchmark::State& state) {
  platform::SetKeyboardLayout("us");
  for (auto _ : state) {
    for (int i = 0; i < kKeyIndexCount; ++i) {
      benchmark::DoNotOptimize(VirtualKeyToUsage(UsageToVirtualKey(DefaultKeyUsage(i))));
    }
  }
}
BENCHMARK(BM_ConvertAllKeysBothWays);

// Keeps each run's CPU time per iteration so the ratios can follow the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) m_cpuTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios(const std::string& baseline) const {
    const auto base = m_cpuTimes.find(baseline);
    if (base == m_cpuTimes.end() || base->second <= 0) return;
    for (const auto& [name, time] : m_cpuTimes) {
      std::printf("%-40s %8.1fx baseline\n", name.c_str(), time / base->second);
    }
  }

 private:
  std::map<std::string, double> m_cpuTimes;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios("BM_Baseline_NamedKeyDefaultDocument");
  benchmark::Shutdown();
  return 0;
}
