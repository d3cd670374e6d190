// Runs a program as a child process with given arguments, standard input and working folder, and
// collects its exit status and both output streams (through files, so no pipe can fill up).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veltrin::test {

struct ProcessResult {
  int exit_code = -1;  // the program's exit status; -1 when it could not be started
  std::string out;     // standard output bytes
  std::string err;     // standard error bytes
};

// Returns a build-time path as this process sees it: under Wine the Unix root is drive Z:.
std::filesystem::path HostPath(std::string path);

// Starts the program, feeds it `input` on standard input, waits for it and returns what it did.
// `folder` is the child's working folder (the parent's when empty); `scratch` is a folder where
// the stream files are kept.
ProcessResult RunProcess(const std::filesystem::path& program,
                         const std::vector<std::u16string>& arguments, const std::string& input,
                         const std::filesystem::path& folder, const std::filesystem::path& scratch);

}  // namespace veltrin::test
