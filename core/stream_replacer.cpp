// The piecewise replace-all. A match starting before the last from.size() - 1 units of what has
// arrived lies wholly inside it, so the search there is final; only that tail waits.
#include "core/stream_replacer.h"

#include <algorithm>

#include "core/text_ops.h"

namespace veltrin {

std::size_t StreamReplacer::Scan(std::u16string_view text, bool final, std::u16string& out) const {
  std::size_t read = 0;
  for (std::size_t hit = FindText(text, from_); hit != std::u16string_view::npos;
       hit = FindText(text, from_, read)) {
    out.append(text.substr(read, hit - read));
    out += to_;
    read = hit + from_.size();
  }
  const std::size_t settled =
      final ? text.size() : std::max(read, text.size() - std::min(text.size(), from_.size() - 1));
  out.append(text.substr(read, settled - read));
  return settled;
}

void StreamReplacer::Push(std::u16string_view piece, std::u16string& out) {
  if (held_.empty()) {
    held_.assign(piece.substr(Scan(piece, false, out)));
    return;
  }
  held_ += piece;
  held_.erase(0, Scan(held_, false, out));
}

void StreamReplacer::Finish(std::u16string& out) {
  Scan(held_, true, out);
  held_.clear();
}

}  // namespace veltrin
