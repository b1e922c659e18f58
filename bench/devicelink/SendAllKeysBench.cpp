// A full key upload against the virtual keyboard, compared with the physical limit: the sum of
// the pauses the keyboard's protocol mandates for the reports sent. The ratio counter is the
// figure to watch (goal: at most 1.02).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "devicelink/SendAllKeys.h"
#include "model/FunctionCodes.h"
#include "platform/hid/HidLibrary.h"
#include "platform/hid/VirtualBackend.h"
#include "platform/hid/VirtualKeyboard.h"

namespace {

constexpr double kMacroKeyPausesMs = 200 + 41 * 60;
constexpr double kKeyMapPausesMs = 200 + 20 * 60;

std::unique_ptr<ProfileBlock> ProfileWithMacroKeys(int macroKeys) {
  auto profile = std::make_unique<ProfileBlock>();
  for (int i = 0; i < macroKeys; ++i) {
    ButtonInfo& key = profile->buttonInfo[1 + i];
    key.kind = kKindAssigned;
    key.code = kCodeMacro;
    key.repeat = 1;
    key.eventCount = 2;
    key.events[0] = {0x80, 0x05, 0x04};
    key.events[1] = {0x00, 0x05, 0x04};
  }
  return profile;
}

void BM_SendAllKeys(benchmark::State& state) {
  const int macroKeys = static_cast<int>(state.range(0));
  tarnwick::VirtualKeyboard keyboard;
  tarnwick::HidLibrary::Instance().SetBackendFactory(
      [&] { return std::make_unique<tarnwick::VirtualBackend>(keyboard); });
  keyboard.Plug();
  CUSBDriver driver;
  driver.OpenDevice();
  platform::Message message;
  while (platform::PeekNextMessage(message, true)) platform::Dispatch(message);
  const auto profile = ProfileWithMacroKeys(macroKeys);

  const double limitMs = macroKeys * kMacroKeyPausesMs + kKeyMapPausesMs;
  double totalMs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    SendAllKeys(driver, *profile, {});
    totalMs +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["limit_ms"] = limitMs;
  state.counters["ratio"] = totalMs / static_cast<double>(state.iterations()) / limitMs;
  tarnwick::HidLibrary::Instance().SetBackendFactory({});
}

BENCHMARK(BM_SendAllKeys)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendAllKeys)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
