// Replace-all over a text that arrives in pieces: the same result as ReplaceAll on the joined text.
#pragma once

#include <string>
#include <string_view>

namespace veltrin {

class StreamReplacer {
 public:
  // Replaces every non-overlapping occurrence of `from` (non-empty), leftmost first, by `to`.
  StreamReplacer(std::u16string from, std::u16string to)
      : from_(std::move(from)), to_(std::move(to)) {}

  // Appends to `out` the replaced text as far as it is settled; holds back at most
  // from.size() - 1 units that a later piece may complete into a match.
  void Push(std::u16string_view piece, std::u16string& out);

  // Appends what was held back: the stream has ended.
  void Finish(std::u16string& out);

 private:
  // Replaces in `text`, appending to `out`; returns where the held-back part of `text` starts.
  std::size_t Scan(std::u16string_view text, bool final, std::u16string& out) const;

  std::u16string from_;  // what is replaced
  std::u16string to_;    // what it is replaced by
  std::u16string held_;  // the end of the text so far, which may be the start of a match
};

}  // namespace veltrin
