// Local path checks on Windows: wide paths through the long-path form, so that long and UNC paths
// work alike.
#include <windows.h>

#include <string>

#include "core/file_search.h"
#include "cli/local_path.h"
#include "common/utf16.h"

namespace veltrin::cli {

std::u16string MakeAbsolute(const std::u16string& path) {
  if (path.empty()) return path;
  const DWORD needed = GetFullPathNameW(WideCStr(path), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::u16string absolute(needed, u'\0');
  const DWORD length = GetFullPathNameW(WideCStr(path), needed,
                                        reinterpret_cast<wchar_t*>(absolute.data()), nullptr);
  if (length == 0 || length >= needed) return path;
  absolute.resize(length);
  return absolute;
}

bool IsDirectory(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(WideCStr(LongPathForm(path)));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::uint64_t> FileSize(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WideCStr(LongPathForm(path)), GetFileExInfoStandard, &data))
    return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace veltrin::cli
