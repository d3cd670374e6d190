// The veltrin command as a function of its arguments and standard streams, so that tests and the
// entry point share it.
#pragma once

#include <string>
#include <vector>

#include "cli/standard_streams.h"

namespace veltrin::cli {

// The exit statuses of the command; with several sources, the highest one that occurred.
enum ExitStatus : int {
  kResultProduced = 0,    // a result was written, even an empty one
  kNoParagraphText = 1,   // the pipeline stopped early: nothing to show
  kUsageError = 2,        // the command line does not follow the grammar
  kSourceUnreadable = 3,  // a SOURCE or the word list cannot be read or downloaded
  kOutputFailed = 4,      // a result cannot be written (or an unexpected failure)
  kInterrupted = 130,     // Ctrl+C or another request to stop; set by the interrupt handler
};

// Runs the command for the arguments after the program name, reading and writing the given
// standard streams. Never throws; returns the exit status.
int Run(const std::vector<std::u16string>& arguments, StandardStreams& streams) noexcept;

// Runs the command on the process's own standard streams.
int Run(const std::vector<std::u16string>& arguments) noexcept;

}  // namespace veltrin::cli
