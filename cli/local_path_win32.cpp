// Local path checks on Windows: wide paths, with the long-path prefix where the path is absolute.
#include <windows.h>

#include <string>

#include "cli/local_path.h"

namespace veltrin::cli {

namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The "\\?\" form lifts the 260-character limit; it only applies to absolute paths, which the
// command line always asks about.
std::u16string LongForm(const std::u16string& path) {
  if (path.starts_with(u"\\\\")) {
    if (path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\")) return path;
    return u"\\\\?\\UNC\\" + path.substr(2);
  }
  if (path.size() >= 3 && path[1] == u':' && (path[2] == u'\\' || path[2] == u'/')) {
    return u"\\\\?\\" + path;
  }
  return path;
}

}  // namespace

std::u16string MakeAbsolute(const std::u16string& path) {
  if (path.empty()) return path;
  const DWORD needed = GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::u16string absolute(needed, u'\0');
  const DWORD length =
      GetFullPathNameW(Wide(path), needed, reinterpret_cast<wchar_t*>(absolute.data()), nullptr);
  if (length == 0 || length >= needed) return path;
  absolute.resize(length);
  return absolute;
}

bool IsDirectory(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(LongForm(path)));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::uint64_t> FileSize(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(LongForm(path)), GetFileExInfoStandard, &data))
    return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace veltrin::cli
