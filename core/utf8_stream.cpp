// The piecewise UTF-8 decoder: a cut-off sequence (at most three bytes) is carried to the next
// piece, where it is decoded together with the bytes that complete or break it.
#include "core/utf8_stream.h"

#include <algorithm>

#include "core/utf8.h"

namespace veltrin {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

std::string_view Utf8StreamDecoder::SkipMark(std::string_view bytes) {
  const std::size_t take = std::min(kByteOrderMark.size() - mark_.size(), bytes.size());
  mark_.append(bytes.substr(0, take));
  if (!kByteOrderMark.starts_with(mark_)) {
    // Not a mark after all: what was held back is ordinary text.
    skip_mark_ = false;
    pending_ = std::move(mark_);
    return bytes.substr(take);
  }
  if (mark_.size() == kByteOrderMark.size()) skip_mark_ = false;
  return bytes.substr(take);
}

void Utf8StreamDecoder::Decode(std::string_view bytes, std::u16string& text) {
  if (skip_mark_) {
    bytes = SkipMark(bytes);
    if (skip_mark_) return;  // all of it may still be the mark
  }
  if (!pending_.empty()) {
    // A sequence is at most four bytes, so three more settle the one that was cut off (unless
    // this piece is shorter still). Decoding may run on past it; `taken` says how far.
    const std::size_t carried = pending_.size();
    const std::size_t borrowed = std::min<std::size_t>(3, bytes.size());
    pending_.append(bytes.substr(0, borrowed));
    const std::size_t taken = DecodeUtf8Prefix(pending_, false, text);
    if (taken < carried) {
      pending_.erase(0, taken);
      return;  // only possible when the whole piece was borrowed
    }
    pending_.clear();
    bytes.remove_prefix(taken - carried);
  }
  const std::size_t taken = DecodeUtf8Prefix(bytes, false, text);
  pending_.assign(bytes.substr(taken));
}

void Utf8StreamDecoder::Finish(std::u16string& text) {
  if (skip_mark_) {
    pending_ = std::move(mark_);  // a stream shorter than a mark: its bytes are text
    skip_mark_ = false;
  }
  DecodeUtf8Prefix(pending_, true, text);
  pending_.clear();
}

}  // namespace veltrin
