// What the command line needs to know about a local path before it reads it, for Linux and
// Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veltrin::cli {

// Returns the path made absolute against the current folder (Windows also resolves "." and ".."
// and drive-relative forms). Returns the path unchanged when the current folder is unknown.
std::u16string MakeAbsolute(const std::u16string& path);

// Returns true when the path names an existing directory.
bool IsDirectory(const std::u16string& path);

// Returns the size in bytes of an existing file, or nullopt when it cannot be asked.
std::optional<std::uint64_t> FileSize(const std::u16string& path);

// Returns true when the path holds a wildcard character ("*" or "?") that the existence test
// would expand.
bool HoldsWildcards(const std::u16string& path);

}  // namespace veltrin::cli
