// Whole-file and piecewise reads and replacing writes on POSIX systems; paths travel to the system
// as UTF-8.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "core/posix_handles.h"
#include "core/temporary_files.h"
#include "core/text_file.h"
#include "core/utf8.h"

namespace veltrin {
namespace {

using FileDescriptor = UniqueFileDescriptor;

std::u16string SystemReason(int error) {
  return Utf8BytesToText(std::strerror(error));
}

constexpr std::u16string_view kReadAction = u"Cannot read";
constexpr std::u16string_view kWriteAction = u"Cannot write";

// Throws the error for the failure that errno describes; only a read reports a missing file or
// folder as error 53.
[[noreturn]] void Fail(std::u16string_view action, const std::u16string& path) {
  const int error = errno;
  const bool missing = action == kReadAction && (error == ENOENT || error == ENOTDIR);
  detail::ThrowFileError(missing, action, path, SystemReason(error));
}

// Creates a new, empty file in the folder of `target` under a name no one else uses (and short,
// so that a target name near the length limit still has room); returns its descriptor and name,
// or -1 with errno set.
int CreateTemporaryBeside(const std::string& target, std::string& temporary_path) {
  static std::atomic<unsigned> counter{0};
  const std::size_t separator = target.rfind('/');
  const std::string folder =
      separator == std::string::npos ? std::string() : target.substr(0, separator + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_path = folder + ".~veltrin-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter.fetch_add(1)) + ".tmp";
    const int fd = ::open(temporary_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes all bytes, resuming after interruptions and partial writes; false with errno on failure.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Removes the temporary file unless it has been moved into place; an interrupt may remove it too.
class TemporaryFile : public detail::RemovableFile {
 public:
  // Takes the file just created; the caller holds the temporary files' lock.
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {
    detail::KeepTemporaryFile(*this);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    const auto lock = detail::LockTemporaryFiles();
    if (!path_.empty()) RemoveNow();
    detail::ForgetTemporaryFile(*this);
  }
  void RemoveNow() noexcept override { ::unlink(path_.c_str()); }
  const std::string& Path() const noexcept { return path_; }
  // Gives the file up once moved into place; the caller holds the temporary files' lock.
  void Release() noexcept {
    path_.clear();
    detail::ForgetTemporaryFile(*this);
  }

 private:
  std::string path_;  // empty once released
};

}  // namespace

std::string ReadFileBytes(const std::u16string& path) {
  constexpr std::u16string_view kAction = kReadAction;
  const std::string system_path = TextToUtf8(path);
  FileDescriptor file(::open(system_path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file) Fail(kAction, path);

  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) Fail(kAction, path);
  if (S_ISDIR(status.st_mode)) detail::ThrowFileError(false, kAction, path, SystemReason(EISDIR));

  // Read in one go by the size, with one spare byte so that the read which meets the end needs
  // no growth; keep going past it for files whose size is not known up front or that grew.
  std::string bytes;
  bytes.resize(status.st_size > 0 ? static_cast<std::size_t>(status.st_size) + 1 : 4096);
  std::size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(file.Get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(kAction, path);
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

class FileByteReader::Handle {
 public:
  explicit Handle(int fd) : file(fd) {}
  FileDescriptor file;  // the open file
};

FileByteReader::FileByteReader(const std::u16string& path) : path_(path) {
  FileDescriptor file(::open(TextToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!file) Fail(kReadAction, path);
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) Fail(kReadAction, path);
  if (S_ISDIR(status.st_mode))
    detail::ThrowFileError(false, kReadAction, path, SystemReason(EISDIR));
  size_ = static_cast<std::uint64_t>(status.st_size);
  handle_ = std::make_unique<Handle>(file.Detach());
}

FileByteReader::~FileByteReader() = default;

std::size_t FileByteReader::Read(char* buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t got = ::read(handle_->file.Get(), buffer, capacity);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) Fail(kReadAction, path_);
  }
}

class ReplacingFileWriter::Handle {
 public:
  Handle(int fd, std::string temporary_path) : file(fd), temporary(std::move(temporary_path)) {}
  FileDescriptor file;      // the temporary file, open for writing
  TemporaryFile temporary;  // removes it unless it was moved into place
};

ReplacingFileWriter::ReplacingFileWriter(const std::u16string& path) : path_(path) {
  const std::string system_path = TextToUtf8(path);
  // A replaced file keeps its permissions; a new one gets the usual ones less the umask.
  struct stat old_status {};
  const bool replacing = ::stat(system_path.c_str(), &old_status) == 0;

  std::string temporary_path;
  auto lock = detail::LockTemporaryFiles();  // an interrupt removes the file or never sees it
  const int fd = CreateTemporaryBeside(system_path, temporary_path);
  if (fd < 0) Fail(kWriteAction, path);
  handle_ = std::make_unique<Handle>(fd, temporary_path);
  lock.unlock();
  if (replacing && S_ISREG(old_status.st_mode)) {
    ::fchmod(handle_->file.Get(), old_status.st_mode & 07777);
  }
}

ReplacingFileWriter::~ReplacingFileWriter() = default;

void ReplacingFileWriter::Write(std::string_view bytes) {
  if (!WriteAll(handle_->file.Get(), bytes)) Fail(kWriteAction, path_);
}

void ReplacingFileWriter::Commit(bool durable) {
  if ((durable && ::fsync(handle_->file.Get()) != 0) || !CloseNow(handle_->file)) {
    Fail(kWriteAction, path_);
  }
  const std::string target = TextToUtf8(path_);
  const auto lock = detail::LockTemporaryFiles();  // an interrupt comes before or after, whole
  if (::rename(handle_->temporary.Path().c_str(), target.c_str()) != 0) Fail(kWriteAction, path_);
  handle_->temporary.Release();
}

}  // namespace veltrin
