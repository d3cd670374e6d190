// Reading what the command line extracts from: a web address, a local file or standard input,
// and the optional blocked-word list.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrin::cli {

// The largest page or word list read, from any source: beyond it the read fails cleanly instead
// of exhausting memory.
inline constexpr std::size_t kMaxInputBytes = std::size_t{256} << 20;

// A source that cannot be read; what() is one line (UTF-8) naming what and why, e.g.
// "cannot read 'page.html': no such file" or "cannot download http://x/: HTTP 404 Not Found".
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Returns the page text of SOURCE: a web address (by IsWebAddress) is downloaded and its body
// decoded as UTF-8; "-" is standard input and any other text a local path (made absolute), both
// read as a UTF-8 file whose byte-order mark is consumed. Throws SourceError when the source is
// missing, a directory, holds wildcards, is over kMaxInputBytes, or cannot be read or downloaded.
std::u16string ReadSource(const std::u16string& source, bool show_progress);

// Returns the words of a word list file (see SplitWordList). Throws SourceError like ReadSource.
std::vector<std::u16string> ReadWordList(const std::u16string& path);

}  // namespace veltrin::cli
