// A nameless scratch file for bytes that do not fit in memory: it vanishes when closed, and with
// the process however that ends.
#pragma once

#include <cstdio>

#include "common/unique_handle.h"

namespace veltrin::cli {

struct StdioFileTraits {
  using Handle = std::FILE*;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle file) noexcept { std::fclose(file); }
};
using UniqueStdioFile = UniqueHandle<StdioFileTraits>;

// Opens a new scratch file for writing and reading back, in the system's folder for temporary
// files; empty when it cannot be made.
UniqueStdioFile OpenScratchFile();

}  // namespace veltrin::cli
