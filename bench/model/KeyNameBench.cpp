// The key assignment page names all 61 keys at every redraw. Baseline: naming a
// key from the default document, which is read once and kept. Compared: a
// language document, which is read afresh at every lookup so that an edited
// file shows at once; a character key, which asks the layout; and the two
// layout conversions the page runs per key.
#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK_MAIN();
