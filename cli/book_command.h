// `veltrin book`: a table of contents in, one text or EPUB book out.
#pragma once

#include <string>
#include <vector>

#include "cli/standard_streams.h"

namespace veltrin::cli {

// Runs the book command for the arguments after "book". Returns the exit status (run.h): 0 the
// book was written or listed, 1 no chapters found, 3 the TOC, the word list or a chapter could not
// be read, 4 the book cannot be written. Throws UsageError for a bad command line.
int RunBook(const std::vector<std::u16string>& arguments, StandardStreams& streams);

}  // namespace veltrin::cli
