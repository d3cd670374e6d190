// Scratch files on Windows: the C run-time's tmpfile() writes into the root of the current drive,
// where a user may not create files, so the file goes to the user's temporary folder and is
// opened with "D" (deleted when closed) and "T" (kept in memory where the system can).
#include <windows.h>

#include <string>

#include "cli/scratch_file.h"

namespace veltrin::cli {

UniqueStdioFile OpenScratchFile() {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return UniqueStdioFile();
  wchar_t path[MAX_PATH];
  if (GetTempFileNameW(folder, L"vlt", 0, path) == 0) return UniqueStdioFile();
  UniqueStdioFile file(_wfopen(path, L"w+bTD"));
  if (!file) DeleteFileW(path);
  return file;
}

}  // namespace veltrin::cli
