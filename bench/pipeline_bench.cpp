// The whole extraction pipeline, from the page's UTF-8 bytes to the result text, on generated
// chapter pages of 1, 10 and 50 MB and on a 10 MB page whose body is one line.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/core/pipeline.h"
#include "app/core/utf8.h"
#include "bench/page_generator.h"

namespace veltrin::bench {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

// Pages are generated once per process and shared by the runs of a benchmark.
const std::string& Page(std::size_t mebibytes, bool single_line) {
  static std::map<std::pair<std::size_t, bool>, std::string> pages;
  auto [it, added] = pages.try_emplace({mebibytes, single_line});
  if (added) it->second = GenerateChapterPage({mebibytes * kMiB, 1, single_line});
  return it->second;
}

BlockedWords BenchBlockedWords() {
  std::vector<std::u16string> words;
  for (const char16_t* word : kBenchBlockedWords) words.emplace_back(word);
  BlockedWords blocked;
  blocked.Rebuild(words);
  return blocked;
}

void RunPipeline(benchmark::State& state, bool single_line) {
  const std::string& page = Page(static_cast<std::size_t>(state.range(0)), single_line);
  const BlockedWords blocked = BenchBlockedWords();
  std::size_t result_units = 0;
  for (auto _ : state) {
    const std::u16string text = Utf8BytesToText(page);
    const auto result = ExtractParagraphs(text, blocked);
    result_units = result ? result->size() : 0;
    benchmark::DoNotOptimize(result_units);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["result_kunits"] = static_cast<double>(result_units) / 1000.0;
}

void BM_Pipeline(benchmark::State& state) {
  RunPipeline(state, false);
}
void BM_PipelineOneLineBody(benchmark::State& state) {
  RunPipeline(state, true);
}

BENCHMARK(BM_Pipeline)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PipelineOneLineBody)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace veltrin::bench
