// Local path checks on Windows: wide paths through the long-path form, so that long and UNC paths
// work alike.
#include <windows.h>

#include <string>

#include "core/file_search.h"
#include "cli/local_path.h"
#include "common/utf16.h"

namespace veltrin::cli {

std::u16string MakeAbsolute(const std::u16string& path) {
  return SystemFullPath(path);
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
