// The veltrin command as a function of its arguments, so that tests and the entry point share it.
#pragma once

#include <string>
#include <vector>

namespace veltrin::cli {

// The exit statuses of the command.
enum ExitStatus : int {
  kResultProduced = 0,    // a result was written, even an empty one
  kNoParagraphText = 1,   // the pipeline stopped early: nothing to show
  kUsageError = 2,        // the command line does not follow the grammar
  kSourceUnreadable = 3,  // the SOURCE or the word list cannot be read or downloaded
  kOutputFailed = 4,      // the result cannot be written (or an unexpected failure)
};

// Runs the command for the arguments after the program name, writing the result and any message
// to the standard streams. Never throws; returns the exit status.
int Run(const std::vector<std::u16string>& arguments) noexcept;

}  // namespace veltrin::cli
