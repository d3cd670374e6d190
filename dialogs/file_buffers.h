// The text blocks of the open and save dialogs: the filter list, the file buffer, and the reading
// of the chosen file name(s) back out of it. Every read stays inside the buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrin::dialogs {

// Returns `filter` with every "|" turned into NUL, ending in two NULs.
std::wstring ConvertFilter(const std::wstring& filter);

// Returns a buffer of `size` NULs plus one terminating NUL that the size does not count, with the
// first min(length, size) characters of `file_name` over its start.
std::vector<wchar_t> MakeFileBuffer(const std::wstring& file_name, int32_t size);

// Returns a buffer of `size` NULs (plus the terminating one) holding `source` up to its first NUL,
// at most `size` characters.
std::vector<wchar_t> CopyDialogFileText(const wchar_t* source, int32_t size);

struct ChosenFile {
  std::wstring file_name;   // the path, or directory NUL name NUL name... for a multiple selection
  std::wstring file_title;  // the name part; empty for a multiple selection
};

// Reads the choice out of a file buffer (its counted size plus the terminating NUL) for the
// returned 1-based offset `offset`; offset must be above 0.
ChosenFile ReadChosenFile(const std::vector<wchar_t>& buffer, int offset);

}  // namespace veltrin::dialogs
