// The names of the result files that --output-dir writes, one per source.
#pragma once

#include <string>
#include <vector>

namespace veltrin::cli {

// Returns the result file name for a source: the last segment of its path or address (the host
// for an address without one; "stdin" for "-"), without its extension, plus ".txt". Characters
// that file names cannot hold become "_", and a device name of Windows gets a "_" appended.
std::u16string ResultFileName(const std::u16string& source);

// Returns the result file names of the sources, in order, all different even where file systems
// ignore case: a name already taken gets "-2", "-3", ... before its ".txt".
std::vector<std::u16string> UniqueResultFileNames(const std::vector<std::u16string>& sources);

}  // namespace veltrin::cli
