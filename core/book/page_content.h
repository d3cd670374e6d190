// The text of one page: the paragraph pipeline, and for pages that keep their text in <br>-split
// blocks instead of paragraphs, the largest such block re-flowed the same way.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/pipeline.h"

namespace veltrin::book {

// How a page's text is found: `kParagraphs` is the pipeline alone; `kAuto` falls back to the
// largest <br> block when the pipeline finds no paragraph text.
enum class ContentRule { kParagraphs, kAuto };

// Returns the lines of the largest block of text split at <br> (text inside links, scripts and
// styles left out; inline tags such as <span> or <b> do not split), trimmed and without empty
// ones; no lines when the page has no block of two lines or more.
std::vector<std::u16string> LargestBreakBlock(std::u16string_view html);

// Returns true when the result holds text other than line breaks and indents.
bool HoldsText(std::u16string_view result);

// Returns the page's text by the rule: what ExtractParagraphs gives, or with kAuto, when that
// holds no text, the lines of the largest <br> block through the same pipeline as paragraphs.
// Returns nullopt where ExtractParagraphs does and no fallback applies.
std::optional<std::u16string> ExtractPageText(std::u16string_view html, const BlockedWords& words,
                                              ContentRule rule);

}  // namespace veltrin::book
