// The download progress line.
#include "cli/download_progress.h"

#include <cstdio>
#include <string>

#include "cli/console.h"

namespace veltrin::cli {

namespace {

std::u16string Mebibytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f MiB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

}  // namespace

DownloadProgress::DownloadProgress() : start_(Clock::now()), last_draw_(start_) {}

DownloadProgress::~DownloadProgress() {
  if (shown_) WriteStandardError(u"\n");
}

void DownloadProgress::Update(std::uint64_t received, std::uint64_t total) {
  const Clock::time_point now = Clock::now();
  if (now - start_ < std::chrono::seconds(1)) return;
  if (shown_ && now - last_draw_ < std::chrono::milliseconds(200)) return;
  last_draw_ = now;
  shown_ = true;
  std::u16string line = u"\rdownloading: " + Mebibytes(received);
  if (total > 0) line += u" of " + Mebibytes(total);
  WriteStandardError(line + u"   ");
}

}  // namespace veltrin::cli
