// The platform-independent parts of the file helpers: the long form of a path and the rule that
// decides which directory entries a search reports.
#include "app/core/file_search.h"

namespace veltrin {

std::u16string LongPathForm(std::u16string_view path) {
  std::u16string result = u"\\\\?\\";
  if (path.starts_with(u"\\\\")) {
    result += u"UNC\\";
    path.remove_prefix(2);
  }
  result += path;
  return result;
}

namespace detail {

bool EntryQualifies(uint32_t entry_attributes, bool normal, std::u16string_view name, int mask) {
  if (!normal) {
    const uint32_t filtered = kAttributeHidden | kAttributeSystem | kAttributeDirectory;
    if ((entry_attributes & filtered & ~static_cast<uint32_t>(mask)) != 0) return false;
  }
  if ((entry_attributes & kAttributeDirectory) != 0) return name != u"." && name != u"..";
  return true;
}

}  // namespace detail
}  // namespace veltrin
