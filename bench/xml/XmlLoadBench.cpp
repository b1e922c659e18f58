// Load + parse of a generated description file, ours against pugixml on the same file
// in the same run. The summary prints our time as a ratio of pugixml's (CPU time: the
// machines are shared, and waiting for another process is not the parser's cost).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <pugixml.hpp>
#include <string>

#include "xml/CXmlDoc.h"

namespace {

// Sections of entries as in Strings.xml and Buttons.xml, with a few references, until
// the text reaches `bytes`.
std::string DescriptionText(size_t bytes) {
  std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<STRINGS>\n";
  for (int section = 0; text.size() < bytes; ++section) {
    text += "  <SECTION_" + std::to_string(section) + ">\n";
    for (int entry = 0; entry < 40; ++entry) {
      const std::string name = "BUTTON_ENTRY_" + std::to_string(entry);
      text += "    <" + name + ">" + name + "," + std::to_string(entry * 7) + ",120,64,24," +
              "Press &amp; hold for t&#228;st,FALSE</" + name + ">\n";
    }
    text += "    <!-- layout of section " + std::to_string(section) + " -->\n";
    text += "  </SECTION_" + std::to_string(section) + ">\n";
  }
  return text + "</STRINGS>\n";
}

class DescriptionFile {
 public:
  explicit DescriptionFile(size_t bytes)
      : m_path(std::filesystem::temp_directory_path() /
               ("pv37-xml-bench-" + std::to_string(::getpid()) + "-" + std::to_string(bytes) +
                ".xml")) {
    const std::string text = DescriptionText(bytes);
    std::ofstream(m_path, std::ios::binary) << text;
    m_size = text.size();
  }
  ~DescriptionFile() { std::filesystem::remove(m_path); }

  std::string Path() const { return m_path.string(); }
  size_t Size() const { return m_size; }

 private:
  std::filesystem::path m_path;
  size_t m_size = 0;
};

const DescriptionFile& File(size_t bytes) {
  static std::map<size_t, DescriptionFile> files;
  return files.try_emplace(bytes, bytes).first->second;
}

// The module-wide documents are reloaded in place (language changes, page starts), so
// one document is loaded again and again; a new document per load is measured as well.
void BM_CXmlDocLoad(benchmark::State& state) {
  const DescriptionFile& file = File(static_cast<size_t>(state.range(0)));
  CXmlDoc document;
  for (auto _ : state) benchmark::DoNotOptimize(document.Load(std::string_view(file.Path())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size()));
}

void BM_PugixmlLoad(benchmark::State& state) {
  const DescriptionFile& file = File(static_cast<size_t>(state.range(0)));
  pugi::xml_document document;
  for (auto _ : state) benchmark::DoNotOptimize(document.load_file(file.Path().c_str()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size()));
}

void BM_CXmlDocLoadNew(benchmark::State& state) {
  const DescriptionFile& file = File(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    CXmlDoc document;
    benchmark::DoNotOptimize(document.Load(std::string_view(file.Path())));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size()));
}

void BM_PugixmlLoadNew(benchmark::State& state) {
  const DescriptionFile& file = File(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_file(file.Path().c_str()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size()));
}

BENCHMARK(BM_CXmlDocLoad)->Arg(50 << 10)->Arg(5 << 20);
BENCHMARK(BM_PugixmlLoad)->Arg(50 << 10)->Arg(5 << 20);
BENCHMARK(BM_CXmlDocLoadNew)->Arg(50 << 10)->Arg(5 << 20);
BENCHMARK(BM_PugixmlLoadNew)->Arg(50 << 10)->Arg(5 << 20);

// Remembers each run's time per iteration so the summary can divide ours by pugixml's.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median, reported after the single runs, is the one kept.
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const std::string name = run.run_name.str();
      m_seconds[name] = run.GetAdjustedCPUTime();
      m_megabytesPerSecond[name] = run.counters.at("bytes_per_second") / 1e6;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    for (const char* variant : {"", "New"}) {
      for (const char* size : {"51200", "5242880"}) {
        const std::string ours = std::string("BM_CXmlDocLoad") + variant + "/" + size;
        const std::string theirs = std::string("BM_PugixmlLoad") + variant + "/" + size;
        if (!m_seconds.contains(ours) || !m_seconds.contains(theirs)) continue;
        std::printf("%s: CXmlDoc / pugixml = %.2f (goal <= 1.50), %.0f MB/s against %.0f MB/s\n",
                    ours.c_str(), m_seconds.at(ours) / m_seconds.at(theirs),
                    m_megabytesPerSecond.at(ours), m_megabytesPerSecond.at(theirs));
      }
    }
  }

 private:
  std::map<std::string, double> m_seconds;
  std::map<std::string, double> m_megabytesPerSecond;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
