// Filter conversion and the file buffer of the open and save dialogs.
#include "dialogs/file_buffers.h"

#include <algorithm>
#include <cwchar>

namespace veltrin::dialogs {

std::wstring ConvertFilter(const std::wstring& filter) {
  std::wstring result = filter;
  std::replace(result.begin(), result.end(), L'|', L'\0');
  while (result.size() < 2 || result[result.size() - 1] != L'\0' ||
         result[result.size() - 2] != L'\0') {
    result.push_back(L'\0');
  }
  return result;
}

std::vector<wchar_t> MakeFileBuffer(const std::wstring& file_name, int32_t size) {
  const auto counted = static_cast<size_t>(std::max<int32_t>(size, 0));
  std::vector<wchar_t> buffer(counted + 1, L'\0');
  std::copy_n(file_name.begin(), std::min(file_name.size(), counted), buffer.begin());
  return buffer;
}

std::vector<wchar_t> CopyDialogFileText(const wchar_t* source, int32_t size) {
  const auto counted = static_cast<size_t>(std::max<int32_t>(size, 0));
  std::vector<wchar_t> buffer(counted + 1, L'\0');
  if (source != nullptr) std::copy_n(source, wcsnlen(source, counted), buffer.begin());
  return buffer;
}

ChosenFile ReadChosenFile(const std::vector<wchar_t>& buffer, int offset) {
  ChosenFile chosen;
  const auto begin = buffer.begin();
  const auto end = buffer.end();
  const auto first_nul = std::find(begin, end, L'\0');
  const auto index = static_cast<size_t>(offset);
  if (index <= buffer.size() && buffer[index - 1] == L'\0') {
    // directory NUL name NUL ... NUL NUL: stop at the first NUL pair (or the buffer's end).
    auto pair_end = first_nul;
    while (pair_end != end && std::next(pair_end) != end && *std::next(pair_end) != L'\0') {
      pair_end = std::find(std::next(pair_end), end, L'\0');
    }
    chosen.file_name.assign(begin, pair_end);
    return chosen;
  }
  chosen.file_name.assign(begin, first_nul);
  if (index < chosen.file_name.size()) chosen.file_title = chosen.file_name.substr(index);
  return chosen;
}

}  // namespace veltrin::dialogs
