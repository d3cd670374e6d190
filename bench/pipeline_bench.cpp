// The whole extraction pipeline, from the page's UTF-8 bytes to the result text, on generated
// chapter pages of 1, 10 and 50 MB and on a 10 MB page whose body is one line: on whole texts (as
// the window runs it) and streamed in 64 KiB pieces into UTF-8 (as the command line runs it).
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/paragraph_stream.h"
#include "core/pipeline.h"
#include "core/utf8.h"
#include "core/utf8_stream.h"
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

// Counts the result's UTF-8 bytes as the command line would write them.
class EncodingCounter : public TextSink {
 public:
  void Write(std::u16string_view text) override {
    if (bytes_.size() < 3 * text.size()) bytes_.resize(3 * text.size());
    size_ += EncodeUtf8(text, bytes_.data());
  }
  std::size_t Size() const { return size_; }

 private:
  std::string bytes_;     // the UTF-8 of the latest piece
  std::size_t size_ = 0;  // bytes so far
};

void BM_StreamedPipeline(benchmark::State& state) {
  const std::string& page = Page(static_cast<std::size_t>(state.range(0)), false);
  const BlockedWords blocked = BenchBlockedWords();
  constexpr std::size_t kPiece = 64 << 10;
  std::size_t result_bytes = 0;
  for (auto _ : state) {
    EncodingCounter counter;
    ParagraphExtractor extractor(blocked, counter);
    Utf8StreamDecoder decoder(true);
    std::u16string units;
    for (std::size_t at = 0; at < page.size(); at += kPiece) {
      units.clear();
      decoder.Decode(std::string_view(page).substr(at, kPiece), units);
      extractor.Feed(units);
    }
    units.clear();
    decoder.Finish(units);
    extractor.Feed(units);
    extractor.Finish();
    result_bytes = counter.Size();
    benchmark::DoNotOptimize(result_bytes);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["result_kbytes"] = static_cast<double>(result_bytes) / 1000.0;
}

BENCHMARK(BM_StreamedPipeline)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Pipeline)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PipelineOneLineBody)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace veltrin::bench
