// Throughput of the regular-expression engine on the pipeline's tag-stripping patterns, and its
// linearity on long lines that hold no match. Bytes processed count one per UTF-16 code unit, which
// for markup-heavy pages is about one per byte of the UTF-8 source.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/regex/regex.h"

namespace {

using veltrin::regex::Engine;
using veltrin::regex::Regex;
using veltrin::regex::RegexOptions;

constexpr RegexOptions kPipeline{.multi_line = true, .ignore_case = false};

// One line of `units` code units, mixed ASCII and CJK, with no '>' and no LF.
std::u16string LineWithoutTags(size_t units) {
  std::u16string line;
  line.reserve(units);
  const std::u16string words[] = {u"lorem ", u"<p class=x ", u"\u4e2d\u6587\u6bb5\u843d",
                                  u"ipsum</", u"&nbsp;"};
  for (size_t i = 0; line.size() < units; ++i) line += words[i % std::size(words)];
  line.resize(units);
  return line;
}

// A page-like text of about `units` code units: paragraphs with attributes, inline tags, divs
// and scripts, lines ended by CR LF as the pipeline's accumulator has them.
std::u16string RealisticText(size_t units) {
  std::mt19937 random(42);
  const std::u16string sentences[] = {
      u"\u4eca\u5929\u5929\u6c14\u5f88\u597d\uff0c\u6211\u4eec\u53bb\u516c\u56ed\u6563\u6b65\u3002",
      u"The quick brown fox jumps over the lazy dog.",
      u"<a href=\"/chapter/12.html\">\u4e0b\u4e00\u7ae0</a>",
      u"<span style=\"color:red\">note</span> and more text",
      u"&nbsp;&nbsp;\u300a\u7532\u300b\u300a\u4e59\u300b",
  };
  const std::u16string openers[] = {u"<p>", u"<p class=\"content\">", u"<div id=\"main\">",
                                    u"<pre>", u"<script>var a = 1 < 2;</script>"};
  std::u16string text;
  text.reserve(units + 256);
  while (text.size() < units) {
    text += openers[random() % std::size(openers)];
    const int count = 1 + random() % 4;
    for (int i = 0; i < count; ++i) text += sentences[random() % std::size(sentences)];
    text += random() % 3 == 0 ? u"</div>\r\n" : u"</p>\r\n";
  }
  return text;
}

void ReplaceBenchmark(benchmark::State& state, const char16_t* pattern, const std::u16string& text,
                      Engine engine) {
  const Regex re(pattern, kPipeline);
  for (auto _ : state) {
    std::u16string result = re.ReplaceAll(text, u"", engine);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

void BM_LazyToGtOnLineWithoutGt(benchmark::State& state, Engine engine) {
  const std::u16string line = LineWithoutTags(static_cast<size_t>(state.range(0)) << 20);
  ReplaceBenchmark(state, u".*?>", line, engine);
}
BENCHMARK_CAPTURE(BM_LazyToGtOnLineWithoutGt, best, Engine::kBest)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LazyToGtOnLineWithoutGt, pike_vm, Engine::kPikeVm)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);

// The search alone, without building the result: the 10 MB line outgrows the cache with its copy.
void BM_FindLazyToGtOnLineWithoutGt(benchmark::State& state) {
  const std::u16string line = LineWithoutTags(static_cast<size_t>(state.range(0)) << 20);
  const Regex re(u".*?>", kPipeline);
  for (auto _ : state) benchmark::DoNotOptimize(re.Find(line));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(line.size()));
}
BENCHMARK(BM_FindLazyToGtOnLineWithoutGt)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_PipelinePattern(benchmark::State& state, const char16_t* pattern, Engine engine) {
  static const std::u16string text = RealisticText(4 << 20);
  ReplaceBenchmark(state, pattern, text, engine);
}
BENCHMARK_CAPTURE(BM_PipelinePattern, open_p_best, u"<p.*?>", Engine::kBest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PipelinePattern, close_tag_best, u"</.*?>", Engine::kBest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PipelinePattern, up_to_gt_best, u".*?>", Engine::kBest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PipelinePattern, open_p_pike_vm, u"<p.*?>", Engine::kPikeVm)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PipelinePattern, close_tag_pike_vm, u"</.*?>", Engine::kPikeVm)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PipelinePattern, up_to_gt_pike_vm, u".*?>", Engine::kPikeVm)
    ->Unit(benchmark::kMillisecond);
// A pattern outside the fast path: groups, alternation and a class, through the Pike VM.
BENCHMARK_CAPTURE(BM_PipelinePattern, general_pike_vm, u"<(p|div)( [a-z]+=\"[^\"]*\")*>",
                  Engine::kBest)
    ->Unit(benchmark::kMillisecond);

}  // namespace
