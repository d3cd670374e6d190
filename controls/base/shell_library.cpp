// The process-wide shell library count (user-interface thread only).
#include "controls/base/shell_library.h"

namespace veltrin::controls {
namespace {

int users = 0;              // LoadShellLibrary calls not yet released
HMODULE library = nullptr;  // the module this count holds loaded

}  // namespace

void LoadShellLibrary() noexcept {
  if (users == 0 && !library) library = LoadLibraryW(L"Shell32.dll");
  ++users;
}

void ReleaseShellLibrary() noexcept {
  if (users == 0) return;  // an unmatched release never takes the count below 0
  if (--users == 0 && library) {
    FreeLibrary(library);
    library = nullptr;
  }
}

int ShellLibraryUsers() noexcept {
  return users;
}

HMODULE ShellLibraryHandle() noexcept {
  return library;
}

}  // namespace veltrin::controls
