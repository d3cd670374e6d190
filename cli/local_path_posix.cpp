// Local path checks on Linux: paths are UTF-8 bytes.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/utf8.h"
#include "cli/local_path.h"

namespace veltrin::cli {

std::u16string MakeAbsolute(const std::u16string& path) {
  if (path.empty() || path.front() == u'/') return path;
  std::string folder(4096, '\0');
  while (getcwd(folder.data(), folder.size()) == nullptr) {
    if (errno != ERANGE) return path;
    folder.resize(folder.size() * 2);
  }
  folder.resize(folder.find('\0'));
  std::u16string absolute = Utf8BytesToText(folder);
  if (absolute.empty() || absolute.back() != u'/') absolute += u'/';
  return absolute + path;
}

bool IsDirectory(const std::u16string& path) {
  struct stat info {};
  return stat(TextToUtf8(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::uint64_t> FileSize(const std::u16string& path) {
  struct stat info {};
  if (stat(TextToUtf8(path).c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace veltrin::cli
