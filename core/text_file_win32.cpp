// Whole-file and piecewise reads and replacing writes on Windows, through the wide-character file
// functions.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "core/file_search.h"
#include "core/system_error_win32.h"
#include "core/temporary_files.h"
#include "core/win32_handles.h"
#include "core/text_file.h"
#include "common/utf16.h"

namespace veltrin {
namespace {

constexpr std::u16string_view kReadAction = u"Cannot read";
constexpr std::u16string_view kWriteAction = u"Cannot write";

using FileHandle = UniqueFileHandle;

// Deletes the temporary file unless it has been moved into place; an interrupt may delete it too
// (while it is open, as the process ends: it is shared for deletion).
class TemporaryFile : public detail::RemovableFile {
 public:
  // Takes the file just created; the caller holds the temporary files' lock.
  explicit TemporaryFile(std::u16string path) : path_(std::move(path)) {
    detail::KeepTemporaryFile(*this);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    const auto lock = detail::LockTemporaryFiles();
    if (!path_.empty()) RemoveNow();
    detail::ForgetTemporaryFile(*this);
  }
  void RemoveNow() noexcept override { ::DeleteFileW(WideCStr(path_)); }
  const std::u16string& Path() const noexcept { return path_; }
  // Gives the file up once moved into place; the caller holds the temporary files' lock.
  void Release() noexcept {
    path_.clear();
    detail::ForgetTemporaryFile(*this);
  }

 private:
  std::u16string path_;  // empty once released
};

std::u16string SystemReason(DWORD error) {
  std::u16string reason = SystemErrorText(error);
  if (reason.empty()) {
    const std::string number = "system error " + std::to_string(error);
    reason.assign(number.begin(), number.end());
  }
  return reason;
}

// Throws the error for the failure that the last error describes; only a read reports a missing
// file or folder as error 53.
[[noreturn]] void Fail(std::u16string_view action, const std::u16string& path) {
  const DWORD error = ::GetLastError();
  const bool missing =
      action == kReadAction && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND);
  detail::ThrowFileError(missing, action, path, SystemReason(error));
}

// The path the system calls get: a full path in its long form (so that it may pass MAX_PATH, with
// "." and ".." resolved first), a relative one as it is. Messages keep the caller's path.
std::u16string SystemPathOf(const std::u16string& path) {
  return detail::IsFullDriveOrUncPath(path) ? NormalLongPathForm(path) : path;
}

// Returns the folder part of a path with its final separator ("C:" for "C:name"), or empty.
std::u16string FolderOf(const std::u16string& path) {
  const std::size_t separator = path.find_last_of(u"\\/:");
  return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator + 1);
}

// Creates a new, empty file in the folder of `target` under a name no one else uses (and short,
// so that a target name near the length limit still has room); returns its handle and name, or
// INVALID_HANDLE_VALUE with the last error set.
HANDLE CreateTemporaryBeside(const std::u16string& target, std::u16string& temporary_path) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = ".~veltrin-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(counter.fetch_add(1)) + ".tmp";
    temporary_path = FolderOf(target);
    temporary_path.append(name.begin(), name.end());
    const HANDLE handle = ::CreateFileW(WideCStr(temporary_path), GENERIC_WRITE, FILE_SHARE_DELETE,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

std::string ReadFileBytes(const std::u16string& path) {
  // A folder cannot be opened without backup semantics, so it fails here as "access denied".
  FileHandle file(::CreateFileW(WideCStr(SystemPathOf(path)), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) Fail(kReadAction, path);

  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size)) Fail(kReadAction, path);
  if (static_cast<unsigned long long>(size.QuadPart) > std::string().max_size()) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    Fail(kReadAction, path);
  }

  // Read in one go by the size, in pieces a single ReadFile call can take; stop early at the end
  // of a file that shrank meanwhile.
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + filled, wanted, &got, nullptr))
      Fail(kReadAction, path);
    if (got == 0) break;
    filled += got;
  }
  bytes.resize(filled);
  return bytes;
}

class FileByteReader::Handle {
 public:
  explicit Handle(HANDLE handle) : file(handle) {}
  FileHandle file;  // the open file
};

FileByteReader::FileByteReader(const std::u16string& path) : path_(path) {
  // A folder cannot be opened without backup semantics, so it fails here as "access denied".
  handle_ = std::make_unique<Handle>(::CreateFileW(
      WideCStr(SystemPathOf(path)), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!handle_->file) Fail(kReadAction, path);
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(handle_->file.Get(), &size))
    size_ = static_cast<std::uint64_t>(size.QuadPart);
}

FileByteReader::~FileByteReader() = default;

std::size_t FileByteReader::Read(char* buffer, std::size_t capacity) {
  DWORD got = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
  if (!::ReadFile(handle_->file.Get(), buffer, wanted, &got, nullptr)) Fail(kReadAction, path_);
  return got;
}

class ReplacingFileWriter::Handle {
 public:
  Handle(HANDLE handle, std::u16string temporary_path, std::u16string system_target)
      : file(handle), temporary(std::move(temporary_path)), target(std::move(system_target)) {}
  FileHandle file;          // the temporary file, open for writing
  TemporaryFile temporary;  // deletes it unless it was moved into place
  std::u16string target;    // the target as the system calls get it
};

ReplacingFileWriter::ReplacingFileWriter(const std::u16string& path) : path_(path) {
  // Moving a file over a read-only one is refused at the end on Windows, but not everywhere (Wine
  // replaces it): refuse it before anything is written.
  std::u16string target = SystemPathOf(path);
  const DWORD attributes = ::GetFileAttributesW(WideCStr(target));
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    Fail(kWriteAction, path);
  }
  std::u16string temporary_path;
  auto lock = detail::LockTemporaryFiles();  // an interrupt deletes the file or never sees it
  const HANDLE handle = CreateTemporaryBeside(target, temporary_path);
  if (handle == INVALID_HANDLE_VALUE) Fail(kWriteAction, path);
  handle_ = std::make_unique<Handle>(handle, temporary_path, std::move(target));
  lock.unlock();
}

ReplacingFileWriter::~ReplacingFileWriter() {
  // The handle must be closed before the temporary file can be deleted.
  if (handle_) handle_->file.Reset();
}

void ReplacingFileWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle_->file.Get(), bytes.data(), wanted, &written, nullptr)) {
      Fail(kWriteAction, path_);
    }
    bytes.remove_prefix(written);
  }
}

void ReplacingFileWriter::Commit(bool durable) {
  if ((durable && !::FlushFileBuffers(handle_->file.Get())) || !CloseNow(handle_->file)) {
    Fail(kWriteAction, path_);
  }
  const auto lock = detail::LockTemporaryFiles();  // an interrupt comes before or after, whole
  if (!::MoveFileExW(WideCStr(handle_->temporary.Path()), WideCStr(handle_->target),
                     MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0))) {
    Fail(kWriteAction, path_);
  }
  handle_->temporary.Release();
}

}  // namespace veltrin
