// File attributes and the directory search on Windows, always through the long-path form so that
// long and UNC paths work alike.
#include <windows.h>

#include "core/file_search.h"
#include "core/win32_handles.h"
#include "common/run_time_error.h"
#include "common/utf16.h"

namespace veltrin {
namespace {

// Returns a fixed-size wide buffer's text up to its first NUL.
template <std::size_t kSize>
std::u16string UpToNul(const wchar_t (&buffer)[kSize]) {
  std::size_t length = 0;
  while (length < kSize && buffer[length] != L'\0') ++length;
  return std::u16string(AsU16(std::wstring_view(buffer, length)));
}

// The one directory search of the process.
struct SearchState {
  UniqueFindHandle handle;  // the open search, if any
  int mask = 0;             // the attribute mask given when it began
};

SearchState& Search() {
  static SearchState state;
  return state;
}

// Returns the first qualifying entry from `data` on, fetching further entries as needed; closes
// the search and returns empty when they run out.
std::u16string FirstQualifying(SearchState& search, WIN32_FIND_DATAW& data) {
  while (true) {
    const std::u16string name = UpToNul(data.cFileName);
    if (detail::EntryQualifies(data.dwFileAttributes,
                               data.dwFileAttributes == FILE_ATTRIBUTE_NORMAL, name, search.mask)) {
      return name;
    }
    if (!::FindNextFileW(search.handle.Get(), &data)) {
      search.handle.Reset();
      return {};
    }
  }
}

std::u16string VolumeLabel(const std::u16string& path) {
  wchar_t root[MAX_PATH + 1] = {};
  wchar_t label[MAX_PATH + 1] = {};
  const wchar_t* volume = nullptr;
  if (!path.empty()) {
    if (!::GetVolumePathNameW(WideCStr(NormalLongPathForm(path)), root, MAX_PATH)) return {};
    volume = root;
  }
  if (!::GetVolumeInformationW(volume, label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0))
    return {};
  return UpToNul(label);
}

}  // namespace

std::u16string SystemFullPath(const std::u16string& path) {
  if (path.empty()) return path;
  const DWORD needed = ::GetFullPathNameW(WideCStr(path), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::u16string full(needed, u'\0');
  const DWORD length =
      ::GetFullPathNameW(WideCStr(path), needed, reinterpret_cast<wchar_t*>(full.data()), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

int32_t FileAttributes(const std::u16string& path) {
  const DWORD attributes = ::GetFileAttributesW(WideCStr(NormalLongPathForm(path)));
  if (attributes == INVALID_FILE_ATTRIBUTES) throw RunTimeError(kFileNotFound);
  return detail::ReportedAttributes(attributes);
}

std::u16string FindFileEntry(const std::u16string& path, int attributes) {
  SearchState& search = Search();
  if (attributes == kAttributeVolume) {
    search.handle.Reset();
    return VolumeLabel(path);
  }

  WIN32_FIND_DATAW data{};
  if (path.empty()) {
    if (!search.handle) throw RunTimeError(kInvalidProcedureCall);
    if (!::FindNextFileW(search.handle.Get(), &data)) {
      search.handle.Reset();
      return {};
    }
    return FirstQualifying(search, data);
  }

  search.handle.Reset();
  std::u16string pattern = path;
  const char16_t last = pattern.back();
  if (last == u'\\' || last == u':' || last == u'/') pattern += u"*.*";
  search.mask = attributes;
  // A relative path names nothing in the long form, whatever the system would answer for it.
  if (!detail::IsFullDriveOrUncPath(pattern) && !detail::IsLongOrDeviceForm(pattern)) return {};
  const HANDLE handle = ::FindFirstFileW(WideCStr(NormalLongPathForm(pattern)), &data);
  if (handle == INVALID_HANDLE_VALUE) {
    // Codes up to 12 include "file not found" and "path not found": nothing matched.
    if (::GetLastError() > 12) throw RunTimeError(kBadFileNameOrNumber);
    return {};
  }
  search.handle.Reset(handle);
  return FirstQualifying(search, data);
}

}  // namespace veltrin
