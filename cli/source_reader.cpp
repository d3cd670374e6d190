// Reading of the command line's sources.
#include "cli/source_reader.h"

#include <memory>
#include <new>
#include <optional>
#include <string_view>

#include "app/core/file_search.h"
#include "app/core/http_client.h"
#include "app/core/pipeline.h"
#include "common/run_time_error.h"
#include "app/core/text_file.h"
#include "app/core/utf8.h"
#include "cli/console.h"
#include "cli/download_progress.h"
#include "cli/local_path.h"
#include "cli/word_list.h"

namespace veltrin::cli {

namespace {

std::string Quoted(const std::u16string& path) {
  return "'" + TextToUtf8(path) + "'";
}

std::string MebibytesText(std::size_t bytes) {
  return std::to_string(bytes >> 20) + " MiB";
}

[[noreturn]] void FailToRead(const std::u16string& path, const std::string& reason) {
  throw SourceError("cannot read " + Quoted(path) + ": " + reason);
}

std::string Describe(const RunTimeError& error) {
  return TextToUtf8(error.Description()) + " (error " + std::to_string(error.Number()) + ")";
}

// Reads a local UTF-8 file after the checks that turn the usual mistakes into clear messages.
// `shown` is the path as the user wrote it.
std::u16string ReadLocalFile(const std::u16string& shown) {
  const std::u16string path = MakeAbsolute(shown);
  if (HoldsWildcards(path)) FailToRead(shown, "wildcards (* and ?) are not accepted in a path");
  if (IsDirectory(path)) FailToRead(shown, "it is a directory, not a file");
  try {
    // The desktop tool's existence test: only ordinary files count.
    if (FindFileEntry(path, 0).empty()) {
      FailToRead(shown, FileSize(path) ? "not an ordinary file (hidden, system and special files "
                                         "are not read)"
                                       : "no such file");
    }
  } catch (const RunTimeError& error) {
    FailToRead(shown, "bad file name (" + Describe(error) + ")");
  }
  if (const std::optional<std::uint64_t> size = FileSize(path); size && *size > kMaxInputBytes) {
    FailToRead(shown, "the file is larger than " + MebibytesText(kMaxInputBytes));
  }
  try {
    return ReadUtf8TextFile(path);
  } catch (const RunTimeError& error) {
    // The description already names the path and the system's reason.
    throw SourceError(Describe(error));
  }
}

std::u16string ReadStandardInputText() {
  std::string bytes;
  bool too_large = false;
  if (!ReadStandardInput(kMaxInputBytes, &bytes, &too_large)) {
    throw SourceError(too_large ? "cannot read standard input: it is larger than " +
                                      MebibytesText(kMaxInputBytes)
                                : "cannot read standard input");
  }
  return Utf8BytesToText(WithoutByteOrderMark(bytes));  // read like a file: the mark consumed
}

std::u16string Download(const std::u16string& address, bool show_progress) {
  HttpOptions options;
  options.max_body_bytes = kMaxInputBytes;
  std::optional<DownloadProgress> progress;
  if (show_progress) {
    progress.emplace();
    options.progress = [&progress](std::uint64_t received, std::uint64_t total) {
      progress->Update(received, total);
    };
  }
  try {
    // No character set is read from the answer: pages are UTF-8, and a BOM stays in the text.
    return Utf8BytesToText(HttpGet(TextToUtf8(address), options));
  } catch (const HttpError& error) {
    progress.reset();  // end the progress line before the message
    throw SourceError("cannot download " + TextToUtf8(address) + ": " + error.what());
  }
}

}  // namespace

std::u16string ReadSource(const std::u16string& source, bool show_progress) {
  try {
    if (source == u"-") return ReadStandardInputText();
    if (IsWebAddress(source)) return Download(source, show_progress);
    return ReadLocalFile(source);
  } catch (const std::bad_alloc&) {
    throw SourceError("cannot read " + Quoted(source) + ": not enough memory");
  }
}

std::vector<std::u16string> ReadWordList(const std::u16string& path) {
  try {
    return SplitWordList(ReadLocalFile(path));
  } catch (const SourceError& error) {
    throw SourceError(std::string("word list: ") + error.what());
  } catch (const std::bad_alloc&) {
    throw SourceError("word list: cannot read " + Quoted(path) + ": not enough memory");
  }
}

}  // namespace veltrin::cli
