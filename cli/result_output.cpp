// The result sinks.
#include "cli/result_output.h"

#include <algorithm>
#include <cstdio>

#include "common/run_time_error.h"
#include "core/utf8.h"

namespace veltrin::cli {

namespace {

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

[[noreturn]] void ThrowOutputError(const RunTimeError& error) {
  // The description names the path and the system's reason.
  throw OutputError(TextToUtf8(error.Description()) + " (error " + std::to_string(error.Number()) +
                    ")");
}

}  // namespace

void Utf8ResultEncoder::Write(std::u16string_view text) {
  if (text.empty()) return;
  if (held_) {
    joined_.assign(1, *held_);
    joined_ += text;
    held_.reset();
    text = joined_;
  }
  if (IsHighSurrogate(text.back())) {
    held_ = text.back();
    text.remove_suffix(1);
  }
  if (text.empty()) return;
  if (bytes_.size() < 3 * text.size()) bytes_.resize(3 * text.size());
  sink_.Write(std::string_view(bytes_.data(), EncodeUtf8(text, bytes_.data())));
}

void Utf8ResultEncoder::Finish() {
  if (held_) sink_.Write(TextToUtf8(std::u16string(1, *held_)));
  held_.reset();
}

void StandardOutputSink::Write(std::string_view bytes) {
  if (!streams_.WriteOutput(bytes)) {
    throw OutputError("cannot write the result to standard output");
  }
}

FileSink::FileSink(const std::u16string& path) {
  try {
    writer_.emplace(path);
  } catch (const RunTimeError& error) {
    ThrowOutputError(error);
  }
}

void FileSink::Write(std::string_view bytes) {
  try {
    writer_->Write(bytes);
  } catch (const RunTimeError& error) {
    ThrowOutputError(error);
  }
}

void FileSink::Commit() {
  try {
    writer_->Commit();
  } catch (const RunTimeError& error) {
    ThrowOutputError(error);
  }
}

HeldResultSink::HeldResultSink(ByteSink& target, std::size_t memory_limit)
    : target_(target), memory_limit_(memory_limit) {}

void HeldResultSink::Write(std::string_view bytes) {
  if (!spilled_ && bytes.size() <= memory_limit_ - std::min(memory_limit_, bytes_.size())) {
    bytes_.append(bytes);
    return;
  }
  if (!spilled_) {
    spilled_ = OpenScratchFile();
    if (!spilled_ ||
        std::fwrite(bytes_.data(), 1, bytes_.size(), spilled_.Get()) != bytes_.size()) {
      throw OutputError("cannot hold the result in a temporary file until it is whole");
    }
    std::string().swap(bytes_);
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), spilled_.Get()) != bytes.size()) {
    throw OutputError("cannot hold the result in a temporary file until it is whole");
  }
}

void HeldResultSink::Commit() {
  if (!spilled_) {
    target_.Write(bytes_);
    return;
  }
  std::FILE* file = spilled_.Get();
  if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    throw OutputError("cannot read back the result held in a temporary file");
  }
  std::string piece(std::size_t{1} << 16, '\0');
  for (;;) {
    const std::size_t got = std::fread(piece.data(), 1, piece.size(), file);
    if (got > 0) target_.Write(std::string_view(piece.data(), got));
    if (got < piece.size()) break;
  }
  if (std::ferror(file) != 0) {
    throw OutputError("cannot read back the result held in a temporary file");
  }
}

void MemorySink::Write(std::string_view bytes) {
  if (bytes.size() > limit_ - bytes_.size()) {
    throw OutputError("the result is larger than " + std::to_string(limit_ >> 20) +
                      " MiB, too large to hold until the results before it are written; "
                      "extract this source on its own");
  }
  bytes_.append(bytes);
}

}  // namespace veltrin::cli
