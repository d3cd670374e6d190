// Reading the pages of a book politely: at most a few connections to one host, an optional pause
// between two requests to it, and failures that may pass retried with growing waits.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "core/charset.h"

namespace veltrin::cli {

// One page as it came: its bytes and the Content-Type of a download.
struct FetchedPage {
  std::string bytes;
  std::string content_type;  // empty for a local file
};

struct FetchPolicy {
  unsigned per_host = 2;                          // requests to one host at once
  std::chrono::milliseconds delay{0};             // between the starts of two requests to a host
  int retries = 3;                                // further tries after a transient failure
  std::chrono::milliseconds first_wait{500};      // before the first retry; doubled for each next
  std::chrono::seconds longest_retry_after{120};  // the most a Retry-After is obeyed
};

class PageFetcher {
 public:
  explicit PageFetcher(FetchPolicy policy) : policy_(policy) {}

  // Returns the page at the address (a web address or an absolute local path). Downloads that
  // time out, are refused, or answer 429 or 5xx are tried again up to policy.retries times, after
  // the answer's Retry-After or else a growing wait. Throws SourceError whose what() is the reason
  // alone ("HTTP 404 Not Found", "no such file", ...). Safe to call from several threads.
  FetchedPage Fetch(const std::u16string& address);

 private:
  // Waits until a request to the host may start and counts it as running.
  void Enter(const std::u16string& host);
  void Leave(const std::u16string& host);
  FetchedPage Download(const std::u16string& address);

  struct HostState {
    unsigned running = 0;                          // requests under way
    std::chrono::steady_clock::time_point next{};  // the earliest start of the next one
  };
  FetchPolicy policy_;
  std::mutex mutex_;                 // guards hosts_
  std::condition_variable changed_;  // a request ended
  std::map<std::u16string, HostState> hosts_;
};

// Decodes a page by `charset`, or by the automatic rule (Content-Type, byte-order mark, <meta>,
// else UTF-8) when it is absent. Throws std::runtime_error when this system cannot convert the
// charset.
std::u16string DecodePage(const FetchedPage& page, const std::optional<Charset>& charset,
                          bool is_file);

}  // namespace veltrin::cli
