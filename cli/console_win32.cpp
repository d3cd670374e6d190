// The command line's standard streams on Windows: binary stdio, the wide command line, and
// WriteConsoleW for messages so that any path shows correctly in a console.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <optional>

#include "core/text_file.h"
#include "core/utf8.h"
#include "cli/console.h"
#include "common/unique_handle.h"
#include "common/utf16.h"

namespace veltrin::cli {

void PrepareStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

std::vector<std::u16string> ProgramArguments(int, char**) {
  // argv holds the ANSI code page's rendering; only the wide command line keeps every character.
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::u16string> arguments;
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) {
    arguments.push_back(ToU16(wide[i]));
  }
  LocalFree(wide);
  return arguments;
}

namespace {

struct ThreadHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueThreadHandle = UniqueHandle<ThreadHandleTraits>;

// Returns a real handle of the calling thread that another thread may cancel its reads through.
UniqueThreadHandle CancellableCurrentThread() {
  HANDLE thread = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread,
                       THREAD_TERMINATE, FALSE, 0)) {
    return UniqueThreadHandle();
  }
  return UniqueThreadHandle(thread);
}

}  // namespace

bool ReadStandardInputPiece(char* buffer, std::size_t capacity, std::size_t* got,
                            Cancellation* cancellation) {
  *got = 0;
  // A cancellation abandons the blocked ReadFile of this thread (pipes, files and consoles).
  UniqueThreadHandle thread;
  std::optional<Cancellation::Registration> registration;
  if (cancellation != nullptr) {
    thread = CancellableCurrentThread();
    if (!thread) return false;
    registration.emplace(*cancellation, [handle = thread.Get()] { CancelSynchronousIo(handle); });
    if (cancellation->Cancelled()) return false;
  }
  DWORD read = 0;
  const DWORD wanted = capacity > MAXDWORD ? MAXDWORD : static_cast<DWORD>(capacity);
  if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, wanted, &read, nullptr)) {
    // A pipe whose writer has closed it has reached its end.
    return GetLastError() == ERROR_BROKEN_PIPE;
  }
  *got = read;
  return true;
}

bool WriteStandardOutput(std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
         std::fflush(stdout) == 0;
}

void WriteStandardError(std::u16string_view text) {
  HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
    DWORD written = 0;
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = TextToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  std::fflush(stderr);
}

namespace {

LONG interrupt_status = 0;  // the exit status after an interrupt, set before the handler runs

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleControl(DWORD) {
  AbandonReplacingWrites();
  // Ends at once, as for a signal elsewhere: no other thread runs on, and the files that were
  // still open close and go.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(interrupt_status));
  return TRUE;
}

}  // namespace

void EndOnInterrupt(int status) {
  InterlockedExchange(&interrupt_status, status);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}

}  // namespace veltrin::cli
