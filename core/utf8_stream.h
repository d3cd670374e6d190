// UTF-8 decoding of a byte stream that arrives in pieces cut anywhere, with exactly the result of
// decoding the joined bytes at once.
#pragma once

#include <string>
#include <string_view>

namespace veltrin {

class Utf8StreamDecoder {
 public:
  // With skip_byte_order_mark, a leading EF BB BF (however the pieces cut it) is not decoded.
  explicit Utf8StreamDecoder(bool skip_byte_order_mark = false)
      : skip_mark_(skip_byte_order_mark) {}

  // Appends the units of the next piece to `text`; a sequence cut off at its end waits for the
  // next piece.
  void Decode(std::string_view bytes, std::u16string& text);

  // Appends what the last cut-off sequence gives at the end of the stream (one U+FFFD), if any.
  void Finish(std::u16string& text);

 private:
  // Takes the stream's first bytes past a byte-order mark; returns the bytes left to decode.
  std::string_view SkipMark(std::string_view bytes);

  std::string pending_;  // the start of a sequence cut off by the end of the previous piece
  bool skip_mark_;       // whether the first bytes are still to be checked for a byte-order mark
  std::string mark_;     // the first bytes seen while they may still be a byte-order mark
};

}  // namespace veltrin
