// Drawing of the book progress line.
#include "cli/book_progress.h"

#include <cstdio>
#include <string>

#include "core/utf8.h"

namespace veltrin::cli {

BookProgress::BookProgress(StandardStreams& streams, bool shown, std::size_t total)
    : streams_(streams), shown_(shown), total_(total), start_(Clock::now()) {}

BookProgress::~BookProgress() {
  if (drawn_) streams_.WriteError(u"\n");
}

void BookProgress::Update(std::size_t done, std::uint64_t bytes) {
  if (!shown_) return;
  const Clock::time_point now = Clock::now();
  // Quiet for the first second, so that a short run prints nothing and the rate is not a guess.
  if (now - start_ < std::chrono::seconds(1)) return;
  if (drawn_ && now - last_draw_ < std::chrono::milliseconds(200) && done < total_) return;
  last_draw_ = now;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  char line[160];
  if (rate > 0 && done < total_) {
    const long left = static_cast<long>(static_cast<double>(total_ - done) / rate + 0.5);
    std::snprintf(line, sizeof line, "\rchapters %zu/%zu  %.1f MiB  %.1f/s  %ld:%02ld left   ",
                  done, total_, static_cast<double>(bytes) / (1 << 20), rate, left / 60, left % 60);
  } else {
    std::snprintf(line, sizeof line, "\rchapters %zu/%zu  %.1f MiB  %.1f/s   ", done, total_,
                  static_cast<double>(bytes) / (1 << 20), rate);
  }
  streams_.WriteError(Utf8BytesToText(line));
  drawn_ = true;
}

}  // namespace veltrin::cli
