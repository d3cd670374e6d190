// Which Windows the process runs on, as far as the controls care: only Windows 2000 needs a path
// of its own (the common-controls subclass functions are not exported by name there).
#pragma once

namespace veltrin::controls {

// Returns true on Windows NT 5.0; false on any other system or when the version cannot be read.
// The answer is computed on the first call and kept for the process.
bool IsWindows2000() noexcept;

// Returns true for platform NT, major version 5, minor version 0 (the rule behind IsWindows2000).
constexpr bool IsWindows2000Version(unsigned long platform, unsigned long major,
                                    unsigned long minor) noexcept {
  return platform == 2 && major == 5 && minor == 0;
}

}  // namespace veltrin::controls
