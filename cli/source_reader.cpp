// Reading of the command line's sources.
#include "cli/source_reader.h"

#include <memory>
#include <mutex>
#include <new>
#include <optional>

#include "core/file_search.h"
#include "core/http_client.h"
#include "core/pipeline.h"
#include "common/run_time_error.h"
#include "core/text_file.h"
#include "core/utf8.h"
#include "cli/download_progress.h"
#include "cli/local_path.h"
#include "cli/word_list.h"

namespace veltrin::cli {

namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 16;

std::string Quoted(const std::u16string& path) {
  return "'" + TextToUtf8(path) + "'";
}

[[noreturn]] void FailToRead(const std::u16string& path, const std::string& reason) {
  throw SourceError("cannot read " + Quoted(path) + ": " + reason);
}

std::string Describe(const RunTimeError& error) {
  return TextToUtf8(error.Description()) + " (error " + std::to_string(error.Number()) + ")";
}

// Makes a local path absolute after the checks that turn the usual mistakes into clear messages.
// `shown` is the path as the user wrote it.
std::u16string CheckedLocalPath(const std::u16string& shown) {
  const std::u16string path = MakeAbsolute(shown);
  if (HoldsWildcards(path)) FailToRead(shown, "wildcards (* and ?) are not accepted in a path");
  if (IsDirectory(path)) FailToRead(shown, "it is a directory, not a file");
  try {
    // The desktop tool's existence test: only ordinary files count. The search keeps one state
    // per process, and sources are read on several threads at once.
    static std::mutex search_mutex;
    std::unique_lock<std::mutex> search_lock(search_mutex);
    const bool found = !FindFileEntry(path, 0).empty();
    search_lock.unlock();
    if (!found) {
      FailToRead(shown, FileSize(path) ? "not an ordinary file (hidden, system and special files "
                                         "are not read)"
                                       : "no such file");
    }
  } catch (const RunTimeError& error) {
    FailToRead(shown, "bad file name (" + Describe(error) + ")");
  }
  return path;
}

void ReadLocalFile(const std::u16string& shown, ByteReceiver& receiver) {
  const std::u16string path = CheckedLocalPath(shown);
  std::unique_ptr<char[]> buffer(new char[kPieceBytes]);
  try {
    FileByteReader file(path);
    for (;;) {
      const std::size_t got = file.Read(buffer.get(), kPieceBytes);
      if (got == 0) return;
      receiver.Bytes(std::string_view(buffer.get(), got));
    }
  } catch (const RunTimeError& error) {
    // The description already names the path and the system's reason.
    throw SourceError(Describe(error));
  }
}

void ReadStandardInput(StandardStreams& streams, ByteReceiver& receiver,
                       Cancellation* cancellation) {
  std::unique_ptr<char[]> buffer(new char[kPieceBytes]);
  for (;;) {
    std::size_t got = 0;
    if (!streams.ReadInput(buffer.get(), kPieceBytes, &got, cancellation)) {
      throw SourceError("cannot read standard input");
    }
    if (got == 0) return;
    receiver.Bytes(std::string_view(buffer.get(), got));
  }
}

void Download(const std::u16string& address, bool show_progress, ByteReceiver& receiver,
              const std::shared_ptr<Cancellation>& cancellation) {
  HttpOptions options;
  options.cancellation = cancellation;
  options.max_body_bytes = static_cast<std::size_t>(-1);  // the body is not held
  options.content_type = [&receiver](std::string_view type) { receiver.ContentType(type); };
  options.body = [&receiver](std::string_view piece) { receiver.Bytes(piece); };
  std::optional<DownloadProgress> progress;
  if (show_progress) {
    progress.emplace();
    options.progress = [&progress](std::uint64_t received, std::uint64_t total) {
      progress->Update(received, total);
    };
  }
  try {
    HttpGet(TextToUtf8(address), options);
  } catch (const HttpError& error) {
    progress.reset();  // end the progress line before the message
    throw SourceError("cannot download " + TextToUtf8(address) + ": " + error.what());
  }
}

}  // namespace

bool IsReadLikeAFile(const std::u16string& source) {
  return !IsWebAddress(source);
}

void ReadSource(const std::u16string& source, StandardStreams& streams, bool show_progress,
                ByteReceiver& receiver, const std::shared_ptr<Cancellation>& cancellation) {
  if (source == u"-") return ReadStandardInput(streams, receiver, cancellation.get());
  if (IsWebAddress(source)) return Download(source, show_progress, receiver, cancellation);
  ReadLocalFile(source, receiver);
}

std::vector<std::u16string> ReadWordList(const std::u16string& shown) {
  try {
    const std::u16string path = CheckedLocalPath(shown);
    if (const std::optional<std::uint64_t> size = FileSize(path);
        size && *size > kMaxWordListBytes) {
      FailToRead(shown,
                 "the file is larger than " + std::to_string(kMaxWordListBytes >> 20) + " MiB");
    }
    try {
      return SplitWordList(ReadUtf8TextFile(path));
    } catch (const RunTimeError& error) {
      throw SourceError(Describe(error));
    }
  } catch (const SourceError& error) {
    throw SourceError(std::string("word list: ") + error.what());
  } catch (const std::bad_alloc&) {
    throw SourceError("word list: cannot read " + Quoted(shown) + ": not enough memory");
  }
}

}  // namespace veltrin::cli
