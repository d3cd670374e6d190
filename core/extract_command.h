// The Extract command's own steps around the pipeline, in two halves: what is settled on the
// window's thread before anything is read (the source, the blocked words, the existence test),
// and the read, decoding and extraction that a worker thread runs while the window stays live.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/cancellation.h"
#include "core/http_client.h"
#include "core/pipeline.h"

namespace veltrin {

// Where the bytes of a page go while they arrive. The callbacks may throw to stop the read.
struct PageSink {
  // Called at most once, before any piece, with the HTTP Content-Type (downloads only).
  std::function<void(std::string_view content_type)> content_type;
  // Called with each piece of the page, in order.
  std::function<void(std::string_view piece)> piece;
  // Called now and then with the bytes received so far and the total (0 when unknown).
  std::function<void(std::uint64_t received, std::uint64_t total)> progress;
  // When set, the reader stops as soon as it can once it is cancelled, a download blocked on the
  // network included.
  std::shared_ptr<Cancellation> cancellation;
};

// Downloads a page's body.
class PageFetcher {
 public:
  virtual ~PageFetcher() = default;
  // Hands the body of a web address to the sink as it arrives; throws HttpError naming the
  // failure. Stops early, throwing what the sink threw, when a callback throws.
  virtual void Fetch(const std::u16string& address, const PageSink& sink) = 0;
};

// The file-system side of the command: the existence test and the read.
class FileSearch {
 public:
  virtual ~FileSearch() = default;
  // As veltrin::FindFileEntry: a name, or empty; throws RunTimeError 52 for a rejected path.
  // Called on the window's thread only (the search keeps per-process state).
  virtual std::u16string FindFileEntry(const std::u16string& path, int attributes) = 0;
  // Hands the file's bytes to the sink in pieces; throws RunTimeError when the file cannot be
  // read, and what the sink threw.
  virtual void ReadFile(const std::u16string& path, const PageSink& sink) = 0;
};

// The download client of the core with the tool's settings (a 60-second time-out).
class HttpPageFetcher : public PageFetcher {
 public:
  void Fetch(const std::u16string& address, const PageSink& sink) override;
};

// The real directory search and piecewise file read of the core.
class SystemFileSearch : public FileSearch {
 public:
  std::u16string FindFileEntry(const std::u16string& path, int attributes) override;
  void ReadFile(const std::u16string& path, const PageSink& sink) override;
};

// What one Extract run ends with.
struct ExtractOutcome {
  enum class Kind {
    kUnchanged,  // nothing to do, an early stop or a cancel: the result box keeps its text
    kResult,     // `text` is the new content of the result box
    kFailed,     // `text` is the message to show; the result box keeps its text
  };
  Kind kind = Kind::kUnchanged;
  std::u16string text;
};

// A page to read, settled on the window's thread: everything the worker needs, copied.
struct PageRequest {
  bool web = false;            // a download, else a local file found by the search
  std::u16string source;       // the address or the path, as typed
  BlockedWords blocked_words;  // rebuilt from the list when the run started
};

// The caption of the Extract command's failure messages.
inline constexpr char16_t kExtractCaption[] = u"提取";

// Starts Extract runs; owns the blocked-word array, rebuilt at each run.
class ExtractCommand {
 public:
  // The file search must outlive the command.
  explicit ExtractCommand(FileSearch& files) noexcept : files_(files) {}

  // Settles a run on the address box's text with the list's items as blocked words: an empty
  // source gives kUnchanged; a web address gives its request; a local path that FindFileEntry
  // (attributes 0) does not find gives kUnchanged, one it rejects with error 52 gives kFailed
  // naming it, and a found one gives its request. Never throws for those.
  std::variant<ExtractOutcome, PageRequest> Start(const std::u16string& source,
                                                  const std::vector<std::u16string>& list_items);

  const BlockedWords& Words() const noexcept { return blocked_words_; }

 private:
  FileSearch& files_;
  BlockedWords blocked_words_;  // rebuilt from the list at every run
};

// Reads the page of a request, decodes it with the `--charset auto` rule and runs the pipeline;
// safe on any thread. Progress goes to `progress`; once `cancellation` (not null) is cancelled the
// read stops, a download waiting for bytes included, and kUnchanged comes back. A failed download
// (HTTP error status included), an empty body and an unreadable file give kFailed with a message
// naming what failed. Never throws for those.
ExtractOutcome ReadAndExtract(const PageRequest& request, PageFetcher& fetcher, FileSearch& files,
                              const std::function<void(std::uint64_t, std::uint64_t)>& progress,
                              const std::shared_ptr<Cancellation>& cancellation);

}  // namespace veltrin
