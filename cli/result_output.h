// Where results go: UTF-8 bytes to standard output, a replaced file, or memory until their turn.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/paragraph_stream.h"
#include "core/text_file.h"
#include "cli/scratch_file.h"
#include "cli/standard_streams.h"

namespace veltrin::cli {

// A result that cannot be written; what() is one line (UTF-8) naming where and why.
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Receives result bytes; throws OutputError when they cannot be written.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// Encodes the result text as UTF-8 into a byte sink. A high surrogate at the end of a piece waits
// for the next one, so that a pair cut in two is still one character.
class Utf8ResultEncoder : public TextSink {
 public:
  explicit Utf8ResultEncoder(ByteSink& sink) : sink_(sink) {}
  void Write(std::u16string_view text) override;
  // Writes a high surrogate still held (the text ended with it).
  void Finish();

 private:
  ByteSink& sink_;
  std::optional<char16_t> held_;  // a high surrogate that ended the previous piece
  std::u16string joined_;         // scratch: the held surrogate and the next piece
  std::string bytes_;             // scratch: the UTF-8 of a piece
};

// Writes to standard output as the bytes come.
class StandardOutputSink : public ByteSink {
 public:
  explicit StandardOutputSink(StandardStreams& streams) : streams_(streams) {}
  void Write(std::string_view bytes) override;

 private:
  StandardStreams& streams_;
};

// Receives bytes that take effect only on Commit; without it, what was there stays as it was.
class CommittingSink : public ByteSink {
 public:
  // Puts the bytes in place; throws OutputError.
  virtual void Commit() = 0;
};

// Writes a file that replaces its old version only on Commit.
class FileSink : public CommittingSink {
 public:
  // Starts the file; throws OutputError when it cannot be created.
  explicit FileSink(const std::u16string& path);
  void Write(std::string_view bytes) override;
  // Puts the file in place; throws OutputError. Without it, the old file stays untouched.
  void Commit() override;

 private:
  std::optional<ReplacingFileWriter> writer_;
};

// Holds a result until it is whole, then hands it on: in memory up to a limit, beyond it in a
// scratch file, so that memory stays bounded whatever the size.
class HeldResultSink : public CommittingSink {
 public:
  HeldResultSink(ByteSink& target, std::size_t memory_limit);
  // Throws OutputError when the scratch file cannot be made or written.
  void Write(std::string_view bytes) override;
  // Writes everything held to the target; throws what the target throws, and OutputError when
  // the scratch file cannot be read back.
  void Commit() override;

 private:
  ByteSink& target_;          // where the result goes once whole
  std::size_t memory_limit_;  // the most bytes held in memory
  std::string bytes_;         // the held bytes, while they fit
  UniqueStdioFile spilled_;   // all of them, once they did not
};

// Holds the bytes in memory, up to a limit.
class MemorySink : public ByteSink {
 public:
  explicit MemorySink(std::size_t limit) : limit_(limit) {}
  // Throws OutputError when the bytes would pass the limit.
  void Write(std::string_view bytes) override;
  std::string& Bytes() noexcept { return bytes_; }

 private:
  std::size_t limit_;  // the most bytes held
  std::string bytes_;  // what was written
};

}  // namespace veltrin::cli
