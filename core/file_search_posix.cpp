// File attributes and the directory search on POSIX systems, with the meaning they have on
// Windows: absolute paths only, wildcards in the last part, dot-files hidden, and anything that is
// neither a regular file nor a folder reported as a system entry.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/file_search.h"
#include "common/run_time_error.h"
#include "common/unique_handle.h"
#include "core/utf8.h"

namespace veltrin {
namespace {

struct DirTraits {
  using Handle = DIR*;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle dir) noexcept { ::closedir(dir); }
};
using DirHandle = UniqueHandle<DirTraits>;

// The one directory search of the process.
struct SearchState {
  bool open = false;    // whether a search can be continued
  DirHandle dir;        // the folder being listed; null for a search of one exact name
  std::string pattern;  // fnmatch pattern of the names listed
  int mask = 0;         // the attribute mask given when it began

  void Close() {
    open = false;
    dir.Reset();
  }
};

SearchState& Search() {
  static SearchState state;
  return state;
}

// Maps a file's status and name to the Windows attribute bits.
uint32_t AttributesOf(const struct stat& status, std::string_view name) {
  uint32_t attributes = 0;
  if (S_ISDIR(status.st_mode)) {
    attributes |= kAttributeDirectory;
  } else if (!S_ISREG(status.st_mode)) {
    attributes |= kAttributeSystem;  // devices, pipes and sockets are not ordinary files
  }
  if (name.starts_with('.') && name != "." && name != "..") attributes |= kAttributeHidden;
  // Read-only is a property of the file, as on Windows, not of who is asking.
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= kAttributeReadOnly;
  return attributes;
}

// Returns the status of a path or folder entry, following a link unless it dangles.
bool StatusOf(int folder_fd, const char* name, struct stat& status) {
  return ::fstatat(folder_fd, name, &status, 0) == 0 ||
         ::fstatat(folder_fd, name, &status, AT_SYMLINK_NOFOLLOW) == 0;
}

bool IsNotFound(int error) {
  return error == ENOENT || error == ENOTDIR;
}

// Turns the wildcards * and ? into an fnmatch pattern in which every other character is literal.
std::string WildcardPattern(std::string_view name) {
  std::string pattern;
  for (char c : name) {
    if (c == '[') {
      pattern += "[[]";
    } else {
      pattern += c;
    }
  }
  return pattern;
}

// Returns the next listed entry that matches and qualifies; closes the search at the end.
std::u16string NextQualifying(SearchState& search) {
  if (search.dir) {
    while (const dirent* entry = ::readdir(search.dir.Get())) {
      if (::fnmatch(search.pattern.c_str(), entry->d_name, FNM_NOESCAPE) != 0) continue;
      struct stat status {};
      if (!StatusOf(::dirfd(search.dir.Get()), entry->d_name, status)) continue;  // gone meanwhile
      const std::u16string name = Utf8BytesToText(entry->d_name);
      if (detail::EntryQualifies(AttributesOf(status, entry->d_name), false, name, search.mask)) {
        return name;
      }
    }
  }
  search.Close();
  return {};
}

}  // namespace

std::u16string SystemFullPath(const std::u16string& path) {
  return path;  // the search takes POSIX paths as they are
}

int32_t FileAttributes(const std::u16string& path) {
  std::string system_path = TextToUtf8(path);
  struct stat status {};
  if (!system_path.starts_with('/') || !StatusOf(AT_FDCWD, system_path.c_str(), status)) {
    throw RunTimeError(kFileNotFound);
  }
  while (system_path.size() > 1 && system_path.back() == '/') system_path.pop_back();
  const std::string_view name = std::string_view(system_path).substr(system_path.rfind('/') + 1);
  return static_cast<int32_t>(AttributesOf(status, name));
}

std::u16string FindFileEntry(const std::u16string& path, int attributes) {
  SearchState& search = Search();
  if (attributes == kAttributeVolume) {
    search.Close();
    return {};  // POSIX volumes have no label that a path leads to
  }
  if (path.empty()) {
    if (!search.open) throw RunTimeError(kInvalidProcedureCall);
    return NextQualifying(search);
  }

  search.Close();
  std::string system_path = TextToUtf8(path);
  if (!system_path.starts_with('/')) return {};
  if (system_path.ends_with('/')) system_path += '*';
  search.mask = attributes;

  const std::size_t slash = system_path.rfind('/');
  const std::string folder = system_path.substr(0, slash + 1);
  const std::string last = system_path.substr(slash + 1);

  if (last.find_first_of("*?") == std::string::npos) {
    // One exact name: look it up instead of listing a folder that may be large.
    struct stat status {};
    if (!StatusOf(AT_FDCWD, system_path.c_str(), status)) {
      if (IsNotFound(errno)) return {};
      throw RunTimeError(kBadFileNameOrNumber);
    }
    const std::u16string name = Utf8BytesToText(last);
    if (!detail::EntryQualifies(AttributesOf(status, last), false, name, attributes)) return {};
    search.open = true;  // continuing finds nothing further and ends the search
    return name;
  }

  search.dir.Reset(::opendir(folder.c_str()));
  if (!search.dir) {
    if (IsNotFound(errno)) return {};
    throw RunTimeError(kBadFileNameOrNumber);
  }
  search.open = true;
  search.pattern = WildcardPattern(last);
  return NextQualifying(search);
}

}  // namespace veltrin
