// The command line's standard streams on Linux: file descriptors 0, 1 and 2, UTF-8 throughout.
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "core/posix_handles.h"
#include "core/text_file.h"
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

// Waits until standard input has bytes (or its end) or the cancellation is cancelled; false for
// the cancellation or a failure. A pipe that the cancellation writes to wakes the wait.
bool WaitForInput(Cancellation& cancellation) {
  int wake[2];
  if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  const UniqueFileDescriptor read_end(wake[0]);
  const UniqueFileDescriptor write_end(wake[1]);
  const Cancellation::Registration registration(cancellation, [&write_end] {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(write_end.Get(), &byte, 1);
  });
  pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {read_end.Get(), POLLIN, 0}};
  for (;;) {
    if (::poll(waits, 2, -1) >= 0) break;
    if (errno != EINTR) return false;
  }
  return waits[1].revents == 0;
}

}  // namespace

void PrepareStandardStreams() {}  // POSIX streams never translate line ends

std::vector<std::u16string> ProgramArguments(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8BytesToText(argv[i]));
  return arguments;
}

bool ReadStandardInputPiece(char* buffer, std::size_t capacity, std::size_t* got,
                            Cancellation* cancellation) {
  if (cancellation != nullptr && !WaitForInput(*cancellation)) return false;
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

void EndOnInterrupt(int status) {
  // The signals wait for one thread that takes them in its own time, where removing files and
  // taking locks is allowed (a signal handler may do neither). Threads started later inherit the
  // blocked mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return;
  try {
    std::thread([signals, status] {
      int signal = 0;
      while (sigwait(&signals, &signal) != 0) {
      }
      AbandonReplacingWrites();
      _exit(status);
    }).detach();
  } catch (const std::system_error&) {
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);  // the default action at least ends the run
  }
}

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

}  // namespace veltrin::cli
