// Catching the library's run-time errors in table tests: a call's error number, or 0.
#pragma once

#include "common/run_time_error.h"

namespace veltrin::test {

// Runs `call` and returns the number of the RunTimeError it threw, or 0 when it returned; any
// other exception passes through.
int ErrorOf(auto&& call) {
  try {
    call();
  } catch (const RunTimeError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace veltrin::test
