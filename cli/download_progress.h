// A one-line progress display for long downloads on a terminal.
#pragma once

#include <chrono>
#include <cstdint>

namespace veltrin::cli {

// Shows "downloading: 3.2 MiB of 12.0 MiB" on standard error, rewriting one line. Quiet for the
// first second, so that short downloads print nothing, and redrawn at most five times a second.
class DownloadProgress {
 public:
  DownloadProgress();
  // Ends the line if anything was shown.
  ~DownloadProgress();
  DownloadProgress(const DownloadProgress&) = delete;
  DownloadProgress& operator=(const DownloadProgress&) = delete;

  // Reports the bytes received so far; total is 0 when unknown.
  void Update(std::uint64_t received, std::uint64_t total);

 private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point start_;      // when the download began
  Clock::time_point last_draw_;  // when the line was last drawn
  bool shown_ = false;           // whether the line is on screen
};

}  // namespace veltrin::cli
