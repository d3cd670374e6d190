// Deterministic chapter pages for the pipeline benchmarks: the same seed and size give the same
// bytes on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace veltrin::bench {

struct PageOptions {
  std::size_t target_bytes = 1 << 20;  // the page grows paragraph by paragraph to about this size
  std::uint64_t seed = 1;              // the same seed gives the same page
  bool single_line_body = false;       // the whole body on one line, with no line break at all
};

// Returns a UTF-8 chapter page like those the tool meets: a head with scripts and styles,
// navigation, then many <p> paragraphs (with attributes, &nbsp; indents, ASCII and full-width
// punctuation, book-title pairs, ad words, paragraphs broken over two lines), advertising blocks
// between them, and a footer. Its size is target_bytes or slightly more.
std::string GenerateChapterPage(const PageOptions& options);

// The words the benchmarks block: they occur in generated pages.
inline constexpr const char16_t* kBenchBlockedWords[] = {u"广告", u"风铃书屋", u"请收藏本站", u""};

}  // namespace veltrin::bench
