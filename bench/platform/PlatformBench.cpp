// Cross-process messaging against a bare Unix datagram ping between the same two
// processes, and finding a window by title among 1, 10 and 100 published windows.
// Prints the ratios at the end; every figure comes from this one run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/MessageIds.h"
#include "platform/Text.h"
#include "platform/Window.h"

extern char** environ;

namespace {

using namespace platform;

constexpr int kBurst = 8;  // fits the kernel's datagram queue, so neither side waits for room
constexpr std::uint32_t kPing = WM_USER + 7;

class Peer {
 public:
  explicit Peer(std::vector<std::string> arguments) {
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    std::string path = std::string(PV37_STAGE_DIR) + "/pv37-platform-peer";
    std::vector<char*> argv{path.data()};
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, path.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
      m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    m_output = output[0];
  }
  ~Peer() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    close(m_output);
  }
  bool AwaitReady() {
    pollfd entry{m_output, POLLIN, 0};
    char line[16] = {};
    return m_pid > 0 && poll(&entry, 1, 10000) == 1 && read(m_output, line, sizeof line - 1) > 0 &&
           std::strncmp(line, "ready", 5) == 0;
  }

 private:
  pid_t m_pid = -1;
  int m_output = -1;
};

class CountingWindow : public Window {
 public:
  ~CountingWindow() override { Destroy(); }
  LParam WindowProc(std::uint32_t message, WParam wParam, LParam lParam) override {
    if (message == kPing) ++replies;
    return Window::WindowProc(message, wParam, lParam);
  }
  long replies = 0;
};

struct Fixture {
  std::string root;
  std::string rawPeerPath;
  int rawSocket = -1;
  sockaddr_un rawPeer{};
  CountingWindow window;
  WindowHandle echo = 0;
};
Fixture* g_fixture = nullptr;

void AwaitReplies(long count) {
  Message message{};
  while (g_fixture->window.replies < count && NextMessage(message)) Dispatch(message);
}

void BM_BareDatagramPingPong(benchmark::State& state) {
  char buffer[32] = {};
  for (auto _ : state) {
    sendto(g_fixture->rawSocket, buffer, sizeof buffer, 0,
           reinterpret_cast<sockaddr*>(&g_fixture->rawPeer), sizeof g_fixture->rawPeer);
    recv(g_fixture->rawSocket, buffer, sizeof buffer, 0);
  }
}

void BM_PostPingPong(benchmark::State& state) {
  const WindowHandle own = g_fixture->window.Handle();
  for (auto _ : state) {
    const long expected = g_fixture->window.replies + 1;
    PostToWindow(g_fixture->echo, kPing, own, 0);
    AwaitReplies(expected);
  }
}

void BM_BareDatagramBurst(benchmark::State& state) {
  char buffer[32] = {};
  for (auto _ : state) {
    for (int i = 0; i < kBurst; ++i) {
      sendto(g_fixture->rawSocket, buffer, sizeof buffer, 0,
             reinterpret_cast<sockaddr*>(&g_fixture->rawPeer), sizeof g_fixture->rawPeer);
    }
    for (int i = 0; i < kBurst; ++i) recv(g_fixture->rawSocket, buffer, sizeof buffer, 0);
  }
  state.SetItemsProcessed(state.iterations() * kBurst);
}

void BM_PostBurst(benchmark::State& state) {
  const WindowHandle own = g_fixture->window.Handle();
  for (auto _ : state) {
    const long expected = g_fixture->window.replies + kBurst;
    for (int i = 0; i < kBurst; ++i) PostToWindow(g_fixture->echo, kPing, own, i);
    AwaitReplies(expected);
  }
  state.SetItemsProcessed(state.iterations() * kBurst);
}

// The windows are published by one peer in a runtime folder of their own, so the
// count is the only thing that differs; the last title is the one looked for.
void BM_FindTopLevelWindow(benchmark::State& state) {
  const std::string count = std::to_string(state.range(0));
  const std::string folder = g_fixture->root + "/find-" + count;
  std::filesystem::create_directories(folder);
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  {
    Peer peer({"many", "Bench", count});
    const std::u16string title = Utf8ToUtf16("Bench " + std::to_string(state.range(0) - 1));
    if (!peer.AwaitReady()) state.SkipWithError("the peer did not start");
    for (auto _ : state) {
      const WindowHandle found = FindTopLevelWindow(title);
      if (found == 0) state.SkipWithError("window not found");
      benchmark::DoNotOptimize(found);
    }
  }
  setenv("XDG_RUNTIME_DIR", g_fixture->root.c_str(), 1);
}

BENCHMARK(BM_BareDatagramPingPong)->UseRealTime();
BENCHMARK(BM_PostPingPong)->UseRealTime();
BENCHMARK(BM_BareDatagramBurst)->UseRealTime();
BENCHMARK(BM_PostBurst)->UseRealTime();
BENCHMARK(BM_FindTopLevelWindow)->Arg(1)->Arg(10)->Arg(100)->UseRealTime();

// Keeps every repetition's time per iteration and rate, to print the ratios of the medians
// at the end (run with --benchmark_repetitions=N on a noisy machine).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // Repetitions arrive one by one or, with --benchmark_display_aggregates_only, only
      // as aggregates, of which the median is the one kept.
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !median) continue;
      const std::string& args = run.run_name.args;
      const std::string name = run.run_name.function_name + (args.empty() ? "" : "/" + args);
      m_nanoseconds[name].push_back(run.GetAdjustedRealTime());
      const auto items = run.counters.find("items_per_second");
      if (items != run.counters.end()) m_rates[name].push_back(items->second);
    }
  }
  double Nanoseconds(const std::string& name) { return Median(m_nanoseconds[name]); }
  double Rate(const std::string& name) { return Median(m_rates[name]); }

 private:
  static double Median(std::vector<double>& values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  }
  std::map<std::string, std::vector<double>> m_nanoseconds, m_rates;
};

void PrintRatio(const char* what, double value, const char* goal) {
  std::printf("%-52s %6.2f   (goal %s)\n", what, value, goal);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  char pattern[] = "/tmp/pv37-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  setenv("XDG_RUNTIME_DIR", pattern, 1);
  {
    Fixture fixture;
    g_fixture = &fixture;
    fixture.root = pattern;
    fixture.rawPeerPath = fixture.root + "/peer.raw";
    const std::string ownRaw = fixture.root + "/own.raw";
    fixture.rawSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un own{};
    own.sun_family = AF_UNIX;
    std::strcpy(own.sun_path, ownRaw.c_str());
    bind(fixture.rawSocket, reinterpret_cast<sockaddr*>(&own), sizeof own);
    fixture.rawPeer.sun_family = AF_UNIX;
    std::strcpy(fixture.rawPeer.sun_path, fixture.rawPeerPath.c_str());

    if (!fixture.window.Create(u"Bench Own", Rect{})) return 1;
    Peer echo({"echo", "Bench Echo", fixture.rawPeerPath});
    if (!echo.AwaitReady()) {
      std::fprintf(stderr, "the peer program did not start\n");
      return 1;
    }
    fixture.echo = FindTopLevelWindow(u"Bench Echo");

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("\nRatios (medians of this run):\n");
    PrintRatio("post->dispatch round trip / bare datagram ping",
               ratio(reporter.Nanoseconds("BM_PostPingPong"),
                     reporter.Nanoseconds("BM_BareDatagramPingPong")),
               "<= 2");
    PrintRatio("posted messages per second / bare datagrams per second",
               ratio(reporter.Rate("BM_PostBurst"), reporter.Rate("BM_BareDatagramBurst")),
               ">= 0.5");
    const double oneWindow = reporter.Nanoseconds("BM_FindTopLevelWindow/1");
    PrintRatio("find by title: 10 windows / 1 window",
               ratio(reporter.Nanoseconds("BM_FindTopLevelWindow/10"), oneWindow), "report");
    PrintRatio("find by title: 100 windows / 1 window",
               ratio(reporter.Nanoseconds("BM_FindTopLevelWindow/100"), oneWindow), "report");
    close(fixture.rawSocket);
    fixture.window.Destroy();
  }
  std::error_code ignored;
  std::filesystem::remove_all(pattern, ignored);
  benchmark::Shutdown();
  return 0;
}
