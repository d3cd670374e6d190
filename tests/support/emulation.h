// Lets a Windows test case step aside where its 32-bit build runs through user-mode emulation
// (scripts/wine-exec sets VELTRIN_EMULATED=1 there), always with the reason printed.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

namespace veltrin::test {

// True when this process runs through user-mode emulation of the 32-bit loader.
inline bool RunningUnderEmulation() {
  const char* value = std::getenv("VELTRIN_EMULATED");
  return value != nullptr && value[0] == '1';
}

}  // namespace veltrin::test

// Skips the current test case under emulation only; `reason` says why it cannot run there.
#define VELTRIN_SKIP_UNDER_EMULATION(reason)                   \
  do {                                                         \
    if (::veltrin::test::RunningUnderEmulation())              \
      GTEST_SKIP() << "not run under emulation: " << (reason); \
  } while (false)
