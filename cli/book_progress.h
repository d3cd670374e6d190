// The progress line of the book command on a terminal: chapters done of all, bytes, rate and time
// left, redrawn in place.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "cli/standard_streams.h"

namespace veltrin::cli {

class BookProgress {
 public:
  // Shows nothing unless `shown` (standard error is a terminal and -q was not given).
  BookProgress(StandardStreams& streams, bool shown, std::size_t total);
  // Ends the line if anything was drawn.
  ~BookProgress();
  BookProgress(const BookProgress&) = delete;
  BookProgress& operator=(const BookProgress&) = delete;

  // Redraws the line for `done` chapters and `bytes` of text so far, at most five times a second
  // and not in the first second.
  void Update(std::size_t done, std::uint64_t bytes);

 private:
  using Clock = std::chrono::steady_clock;
  StandardStreams& streams_;
  bool shown_;          // whether to draw at all
  bool drawn_ = false;  // whether the line is on screen
  std::size_t total_;   // chapters to fetch in this run
  Clock::time_point start_;
  Clock::time_point last_draw_;
};

}  // namespace veltrin::cli
