// Fuzzes the extraction pipeline: the page (UTF-8 bytes) must give what the step-by-step version
// gives, whole and streamed in pieces of a length the input chooses.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/paragraph_stream.h"
#include "core/pipeline.h"
#include "core/utf8.h"
#include "core/utf8_stream.h"
#include "tests/core/support/pipeline_reference.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

class Collector : public veltrin::TextSink {
 public:
  void Write(std::u16string_view text) override { text_ += text; }
  std::u16string text_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 4096) return 0;
  const unsigned step = 1 + data[0] % 13;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  veltrin::BlockedWords words;
  words.Rebuild({u"广告", u"", u"ab", u"》、"});

  const std::u16string page = veltrin::Utf8BytesToText(bytes);
  const auto expected = veltrin::test::ReferenceExtract(page, words);
  Require(veltrin::ExtractParagraphs(page, words) == expected);

  Collector result;
  veltrin::ParagraphExtractor extractor(words, result);
  veltrin::Utf8StreamDecoder decoder;
  std::u16string units;
  for (std::size_t at = 0; at < bytes.size(); at += step) {
    units.clear();
    decoder.Decode(bytes.substr(at, step), units);
    extractor.Feed(units);
  }
  units.clear();
  decoder.Finish(units);
  extractor.Feed(units);
  const bool finished = extractor.Finish();
  Require(finished == expected.has_value());
  Require(finished ? result.text_ == *expected : result.text_.empty());
  return 0;
}
