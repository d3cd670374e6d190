// UTF-8 text files: whole-file reads (a byte-order mark consumed) and writes that replace the old
// file only once the new content is safely on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace veltrin {

// Returns the whole content of a file. Throws RunTimeError 53 when the file or its folder does not
// exist and 75 for any other failure (a folder given as the path included); the description names
// the path and the system's reason.
std::string ReadFileBytes(const std::u16string& path);

// Replaces the file with exactly these bytes: they are written to a temporary file beside it,
// which is then moved over it, so that a failure leaves the old file untouched and no temporary
// file behind. Throws RunTimeError 75 naming the path and the system's reason.
void WriteFileBytes(std::string_view bytes, const std::u16string& path);

// Returns the text of a UTF-8 file; a leading byte-order mark is not part of the text and
// ill-formed bytes become U+FFFD. Throws as ReadFileBytes does.
std::u16string ReadUtf8TextFile(const std::u16string& path);

// Writes the text as UTF-8 without a byte-order mark and adds nothing, replacing any existing
// file whole. Throws as WriteFileBytes does.
void WriteUtf8TextFile(std::u16string_view text, const std::u16string& path);

// Reads a file from start to end in pieces, so that no more than one piece is held.
class FileByteReader {
 public:
  // Opens the file; throws as ReadFileBytes does.
  explicit FileByteReader(const std::u16string& path);
  ~FileByteReader();
  FileByteReader(const FileByteReader&) = delete;
  FileByteReader& operator=(const FileByteReader&) = delete;

  // Reads the next bytes into `buffer`; returns how many, 0 at the end of the file. Throws
  // RunTimeError 75 naming the path and the system's reason.
  std::size_t Read(char* buffer, std::size_t capacity);

  // Returns the file's size when it was opened (for progress; the reads go to the real end).
  std::uint64_t Size() const noexcept { return size_; }

 private:
  class Handle;
  std::u16string path_;             // for messages
  std::uint64_t size_ = 0;          // the size when opened
  std::unique_ptr<Handle> handle_;  // the open file
};

// Writes a file in pieces into a temporary file beside it and moves that over the file only on
// Commit, so that a failed or abandoned write leaves the old file untouched and nothing behind.
class ReplacingFileWriter {
 public:
  // Creates the temporary file; throws RunTimeError 75 naming the path and the system's reason.
  explicit ReplacingFileWriter(const std::u16string& path);
  // Removes the temporary file unless committed.
  ~ReplacingFileWriter();
  ReplacingFileWriter(const ReplacingFileWriter&) = delete;
  ReplacingFileWriter& operator=(const ReplacingFileWriter&) = delete;

  // Appends the bytes; throws as the constructor does.
  void Write(std::string_view bytes);

  // Makes the bytes durable and puts the file in place; throws as the constructor does. Without
  // `durable` the bytes are not forced to disk first (for caches that check what they read): after
  // a system crash the file may then be cut short.
  void Commit(bool durable = true);

 private:
  class Handle;
  std::u16string path_;             // the file to replace
  std::unique_ptr<Handle> handle_;  // the temporary file, until committed
};

// Removes the temporary file of every ReplacingFileWriter that is not committed, and holds back
// every later creation, Commit and removal for good, so that a process that ends right after it
// leaves each target as it was. For an interrupt: call it once, then end the process at once.
// (On Windows a file still open is removed as the process ends and closes it.)
void AbandonReplacingWrites() noexcept;

namespace detail {

// Throws the RunTimeError for a failed file operation: 53 when `missing`, else 75, described as
// "<action> "<path>": <reason>".
[[noreturn]] void ThrowFileError(bool missing, std::u16string_view action,
                                 const std::u16string& path, std::u16string_view reason);

}  // namespace detail
}  // namespace veltrin
