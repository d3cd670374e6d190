// The platform-independent parts of the file helpers: the long form of a path and the rule that
// decides which directory entries a search reports.
#include "core/file_search.h"

#include <algorithm>

namespace veltrin {

std::u16string LongPathForm(std::u16string_view path) {
  std::u16string normal(path);
  std::replace(normal.begin(), normal.end(), u'/', u'\\');
  if (normal.starts_with(u"\\\\?\\") || normal.starts_with(u"\\\\.\\")) return normal;
  if (normal.starts_with(u"\\\\")) return u"\\\\?\\UNC\\" + normal.substr(2);
  return u"\\\\?\\" + normal;
}

namespace detail {

int32_t ReportedAttributes(uint32_t system_attributes) {
  constexpr uint32_t kNormal = 0x80;
  return system_attributes == kNormal ? 0 : static_cast<int32_t>(system_attributes);
}

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
