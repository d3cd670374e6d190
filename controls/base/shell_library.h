// Keeps the shell library loaded while any control exists (the controls' drag and drop and file
// lists call into it).
#pragma once

#include <windows.h>

namespace veltrin::controls {

// Adds a user of the shell library, loading Shell32.dll for the first one.
void LoadShellLibrary() noexcept;

// Removes a user, freeing the library after the last one. An unmatched call does nothing: the
// count never goes below 0.
void ReleaseShellLibrary() noexcept;

// Returns the number of users now.
int ShellLibraryUsers() noexcept;

// Returns the handle this module loaded, or null when it holds none.
HMODULE ShellLibraryHandle() noexcept;

// One user of the shell library for the scope's life (a control holds one from Initialize to
// Terminate).
class ShellLibraryUse {
 public:
  ShellLibraryUse() noexcept { LoadShellLibrary(); }
  ~ShellLibraryUse() { ReleaseShellLibrary(); }
  ShellLibraryUse(const ShellLibraryUse&) = delete;
  ShellLibraryUse& operator=(const ShellLibraryUse&) = delete;
};

}  // namespace veltrin::controls
