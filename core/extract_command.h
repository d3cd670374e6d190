// The Extract command's own steps around the pipeline: where the page comes from (a download or a
// local file), the one pass of pending messages after a download, and what a failure says.
#pragma once

#include <string>
#include <vector>

#include "core/http_client.h"
#include "core/pipeline.h"

namespace veltrin {

// Downloads a page's body.
class PageFetcher {
 public:
  virtual ~PageFetcher() = default;
  // Returns the body bytes of a web address as they came; throws HttpError naming the failure.
  virtual std::string Fetch(const std::u16string& address) = 0;
};

// Lets the window handle what queued up while the thread was blocked.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Processes the messages already pending, once, without waiting for more.
  virtual void ProcessPendingMessages() = 0;
};

// The file-system side of the command: the existence test and the read.
class FileSearch {
 public:
  virtual ~FileSearch() = default;
  // As veltrin::FindFileEntry: a name, or empty; throws RunTimeError 52 for a rejected path.
  virtual std::u16string FindFileEntry(const std::u16string& path, int attributes) = 0;
  // As veltrin::ReadUtf8TextFile; throws RunTimeError when the file cannot be read.
  virtual std::u16string ReadUtf8TextFile(const std::u16string& path) = 0;
};

// The download client of the core with the tool's settings (a 60-second time-out).
class HttpPageFetcher : public PageFetcher {
 public:
  std::string Fetch(const std::u16string& address) override;

 private:
  HttpOptions options_;  // the defaults: 60 s, redirects followed, size capped
};

// The real directory search and UTF-8 file read of the core.
class SystemFileSearch : public FileSearch {
 public:
  std::u16string FindFileEntry(const std::u16string& path, int attributes) override;
  std::u16string ReadUtf8TextFile(const std::u16string& path) override;
};

// What one Extract run ends with.
struct ExtractOutcome {
  enum class Kind {
    kUnchanged,  // nothing to do or an early stop: the result box keeps its text
    kResult,     // `text` is the new content of the result box
    kFailed,     // `text` is the message to show; the result box keeps its text
  };
  Kind kind = Kind::kUnchanged;
  std::u16string text;
};

// The caption of the Extract command's failure messages.
inline constexpr char16_t kExtractCaption[] = u"提取";

// Runs Extract commands; owns the blocked-word array, rebuilt at each run.
class ExtractCommand {
 public:
  // The collaborators must outlive the command.
  ExtractCommand(PageFetcher& fetcher, MessagePump& pump, FileSearch& files) noexcept
      : fetcher_(fetcher), pump_(pump), files_(files) {}

  // Runs the command on the address box's text with the list's items as blocked words: an empty
  // source does nothing; a web address is fetched, then pending messages are processed once; a
  // local path that FindFileEntry (attributes 0) does not find stops silently. A failed download
  // (HTTP error status included), an empty body, a path rejected with error 52 and an unreadable
  // file give kFailed with a message naming what failed. Never throws for those.
  ExtractOutcome Run(const std::u16string& source, const std::vector<std::u16string>& list_items);

  const BlockedWords& Words() const noexcept { return blocked_words_; }

 private:
  PageFetcher& fetcher_;
  MessagePump& pump_;
  FileSearch& files_;
  BlockedWords blocked_words_;  // rebuilt from the list at every run
};

}  // namespace veltrin
