// The platform-independent parts of the file helpers: the long form of a path and the rule that
// decides which directory entries a search reports.
#include "core/file_search.h"

#include <algorithm>

namespace veltrin {

namespace {

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

}  // namespace

std::u16string LongPathForm(std::u16string_view path) {
  std::u16string normal(path);
  std::replace(normal.begin(), normal.end(), u'/', u'\\');
  if (detail::IsLongOrDeviceForm(normal)) return normal;
  if (normal.starts_with(u"\\\\")) return u"\\\\?\\UNC\\" + normal.substr(2);
  return u"\\\\?\\" + normal;
}

std::u16string NormalLongPathForm(const std::u16string& path) {
  return LongPathForm(detail::IsFullDriveOrUncPath(path) ? SystemFullPath(path) : path);
}

namespace detail {

bool IsLongOrDeviceForm(std::u16string_view path) {
  return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
         (path[2] == u'?' || path[2] == u'.') && IsSeparator(path[3]);
}

bool IsFullDriveOrUncPath(std::u16string_view path) {
  if (path.size() >= 3 && path[1] == u':' && IsSeparator(path[2])) {
    const char16_t drive = path[0];
    return (drive >= u'A' && drive <= u'Z') || (drive >= u'a' && drive <= u'z');
  }
  return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
         !IsSeparator(path[2]) && !IsLongOrDeviceForm(path);
}

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
