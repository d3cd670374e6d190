// The command line's standard streams on Linux: file descriptors 0, 1 and 2, UTF-8 throughout.
#include <unistd.h>

#include <cerrno>

#include "core/utf8.h"
#include "cli/console.h"

namespace veltrin::cli {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

void PrepareStandardStreams() {}  // POSIX streams never translate line ends

std::vector<std::u16string> ProgramArguments(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8BytesToText(argv[i]));
  return arguments;
}

bool ReadStandardInputPiece(char* buffer, std::size_t capacity, std::size_t* got) {
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, buffer, capacity);
    if (n >= 0) {
      *got = static_cast<std::size_t>(n);
      return true;
    }
    if (errno != EINTR) return false;
  }
}

bool WriteStandardOutput(std::string_view bytes) {
  return WriteAll(STDOUT_FILENO, bytes);
}

void WriteStandardError(std::u16string_view text) {
  WriteAll(STDERR_FILENO, TextToUtf8(text));
}

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

}  // namespace veltrin::cli
