// Which links of a table of contents are the chapters, and which link of a chapter page leads to
// its next page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/book/page_links.h"

namespace veltrin::regex {
class Regex;
}

namespace veltrin::book {

// One chapter of a book.
struct Chapter {
  std::u16string title;    // the link's text
  std::u16string address;  // where its first page is
};

// Returns the chapters of a table of contents at `toc_address`: the largest group of links to the
// table's own host whose addresses share one folder (the first such group on a tie), in document
// order. A link that appears more than once counts at its last place; links back to the table
// itself do not count.
std::vector<Chapter> FindChapters(const std::vector<PageLink>& links,
                                  std::u16string_view toc_address);

// Returns the links whose address the expression matches anywhere, in document order, a repeated
// address counting at its last place.
std::vector<Chapter> MatchingChapters(const std::vector<PageLink>& links,
                                      const regex::Regex& expression);

// The most pages one chapter is read from.
inline constexpr int kMaxChapterPages = 50;

// Returns the address of the chapter's next page: a link whose text holds "下一页" or "下一頁"
// and whose address is the chapter's with a page suffix ("12.html" gives "12_2.html",
// "12-2.html" or "12/2.html"); nullopt when the page has none.
std::optional<std::u16string> NextPageAddress(const std::vector<PageLink>& links,
                                              std::u16string_view chapter_address);

}  // namespace veltrin::book
