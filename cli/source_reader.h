// Reading what the command line extracts from, piece by piece: a web address, a local file or
// standard input; and the optional blocked-word list.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/cancellation.h"
#include "cli/standard_streams.h"

namespace veltrin::cli {

// The largest word list read: beyond it the read fails cleanly instead of exhausting memory.
inline constexpr std::size_t kMaxWordListBytes = std::size_t{256} << 20;

// A source that cannot be read; what() is one line (UTF-8) naming what and why, e.g.
// "cannot read 'page.html': no such file" or "cannot download http://x/: HTTP 404 Not Found".
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Receives a source's bytes as they arrive.
class ByteReceiver {
 public:
  virtual ~ByteReceiver() = default;
  // Takes the Content-Type of a download before its first bytes (never called for other sources).
  virtual void ContentType(std::string_view content_type) = 0;
  // Takes the next bytes.
  virtual void Bytes(std::string_view bytes) = 0;
};

// Returns true when SOURCE is read as a file or standard input (whose UTF-8 byte-order mark is
// not part of the page), false for a web address (whose mark stays in the text).
bool IsReadLikeAFile(const std::u16string& source);

// Reads SOURCE and hands its bytes to the receiver piece by piece: a web address (by
// IsWebAddress) is downloaded, "-" is standard input and any other text a local path (made
// absolute). Throws SourceError when the source is missing, a directory, holds wildcards, or
// cannot be read or downloaded, and soon after `cancellation` (when given) is cancelled, even
// while a download or standard input waits for bytes; what the receiver throws passes through
// unchanged.
void ReadSource(const std::u16string& source, StandardStreams& streams, bool show_progress,
                ByteReceiver& receiver, const std::shared_ptr<Cancellation>& cancellation = {});

// Returns the words of a word list file (see SplitWordList). Throws SourceError as ReadSource
// does, and for a list over kMaxWordListBytes.
std::vector<std::u16string> ReadWordList(const std::u16string& path);

}  // namespace veltrin::cli
