// Chapter discovery: the folder rule, the last-place rule and the next-page rule.
#include "core/book/chapter_list.h"

#include <unordered_map>

#include "core/book/address.h"
#include "core/regex/regex.h"

namespace veltrin::book {

namespace {

// Returns the links with every repeated address kept only at its last place.
std::vector<const PageLink*> LastPlaces(const std::vector<PageLink>& links) {
  std::unordered_map<std::u16string, std::size_t> last;
  for (std::size_t i = 0; i < links.size(); ++i) last[links[i].address] = i;
  std::vector<const PageLink*> kept;
  for (std::size_t i = 0; i < links.size(); ++i) {
    if (last[links[i].address] == i) kept.push_back(&links[i]);
  }
  return kept;
}

// Returns the address without its extension ("…/12.html" gives "…/12").
std::u16string_view Stem(std::u16string_view address) {
  address = address.substr(0, address.find(u'?'));
  const std::size_t folder = address.find_last_of(u"/\\");
  const std::size_t dot = address.rfind(u'.');
  if (dot != std::u16string_view::npos && (folder == std::u16string_view::npos || dot > folder)) {
    return address.substr(0, dot);
  }
  return address;
}

}  // namespace

std::vector<Chapter> FindChapters(const std::vector<PageLink>& links,
                                  std::u16string_view toc_address) {
  const std::u16string host = AddressHost(toc_address);
  const std::vector<const PageLink*> kept = LastPlaces(links);
  struct Group {
    std::size_t first = 0;  // index into `kept` of its first link
    std::size_t size = 0;
  };
  std::unordered_map<std::u16string_view, Group> groups;
  std::u16string_view best_folder;
  Group best;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const std::u16string& address = kept[i]->address;
    if (address == toc_address || AddressHost(address) != host) continue;
    const std::u16string_view folder = AddressFolder(address);
    Group& group = groups.try_emplace(folder, Group{i, 0}).first->second;
    ++group.size;
    if (group.size > best.size || (group.size == best.size && group.first < best.first)) {
      best = group;
      best_folder = folder;
    }
  }
  std::vector<Chapter> chapters;
  if (best.size == 0) return chapters;
  for (std::size_t i = best.first; i < kept.size(); ++i) {
    const std::u16string& address = kept[i]->address;
    if (address == toc_address || AddressHost(address) != host) continue;
    if (AddressFolder(address) == best_folder) chapters.push_back({kept[i]->text, address});
  }
  return chapters;
}

std::vector<Chapter> MatchingChapters(const std::vector<PageLink>& links,
                                      const regex::Regex& expression) {
  std::vector<Chapter> chapters;
  for (const PageLink* link : LastPlaces(links)) {
    if (expression.Find(link->address)) chapters.push_back({link->text, link->address});
  }
  return chapters;
}

std::optional<std::u16string> NextPageAddress(const std::vector<PageLink>& links,
                                              std::u16string_view chapter_address) {
  const std::u16string_view stem = Stem(chapter_address);
  for (const PageLink& link : links) {
    if (link.text.find(u"下一页") == std::u16string::npos &&
        link.text.find(u"下一頁") == std::u16string::npos) {
      continue;
    }
    const std::u16string_view candidate = Stem(link.address);
    if (candidate.size() < stem.size() + 2 || !candidate.starts_with(stem)) continue;
    const char16_t separator = candidate[stem.size()];
    if (separator != u'_' && separator != u'-' && separator != u'/' && separator != u'\\') continue;
    const std::u16string_view number = candidate.substr(stem.size() + 1);
    bool digits = true;
    for (char16_t unit : number) digits = digits && unit >= u'0' && unit <= u'9';
    if (digits) return link.address;
  }
  return std::nullopt;
}

}  // namespace veltrin::book
