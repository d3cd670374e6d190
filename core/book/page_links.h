// What a book needs of a page's HTML: its title and its links with their texts, resolved against
// the page's address and its <base href>.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrin::book {

// One <a href> of a page.
struct PageLink {
  std::u16string address;  // resolved, without fragment
  std::u16string text;     // the link's text: tags left out, entities decoded, spaces collapsed
};

struct PageLinks {
  std::u16string title;         // the text of <title>, as link texts are cleaned
  std::vector<PageLink> links;  // in document order; links that lead nowhere are left out
};

// Scans the HTML of a page at `address` (a web address or a local path). Comments, scripts and
// styles are skipped; tag and attribute names are matched without case.
PageLinks ScanPageLinks(std::u16string_view html, std::u16string_view address);

// Decodes the character references of HTML text: &amp; &lt; &gt; &quot; &apos; &nbsp; (a space)
// and numeric ones; any other "&" stays as written.
std::u16string DecodeEntities(std::u16string_view text);

}  // namespace veltrin::book
