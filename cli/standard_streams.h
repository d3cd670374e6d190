// The standard streams as the command sees them, so that tests can run it in-process with streams
// of their own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/cancellation.h"

namespace veltrin::cli {

class StandardStreams {
 public:
  virtual ~StandardStreams() = default;
  // Reads the next bytes of standard input; *got is 0 at its end. Returns false on failure, and
  // soon after `cancellation` (when given) is cancelled, even while no bytes arrive.
  virtual bool ReadInput(char* buffer, std::size_t capacity, std::size_t* got,
                         Cancellation* cancellation) = 0;
  // Writes bytes to standard output as they are; returns false on failure.
  virtual bool WriteOutput(std::string_view bytes) = 0;
  // Writes a message to standard error.
  virtual void WriteError(std::u16string_view text) = 0;
  // Returns whether standard error is a terminal (progress is shown only there).
  virtual bool ErrorIsTerminal() = 0;
};

// Returns the process's own standard streams.
StandardStreams& ProcessStreams();

}  // namespace veltrin::cli
