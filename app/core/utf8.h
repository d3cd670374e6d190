// UTF-8 <-> UTF-16 conversion shared by every platform, so that downloads, files and the command
// line decode bytes identically everywhere.
#pragma once

#include <string>
#include <string_view>

namespace veltrin {

// Decodes UTF-8 bytes into UTF-16. Never fails: each maximal subpart of an ill-formed sequence
// becomes one U+FFFD; a byte-order mark stays in the text as U+FEFF and NUL bytes are kept.
std::u16string Utf8BytesToText(std::string_view bytes);

// Returns the bytes without one leading UTF-8 byte-order mark (EF BB BF), as a text file or stream
// is read; bytes without a mark are returned whole.
std::string_view WithoutByteOrderMark(std::string_view bytes) noexcept;

// Encodes UTF-16 text as UTF-8 without a byte-order mark. Never fails: a lone surrogate is
// encoded as U+FFFD.
std::string TextToUtf8(std::u16string_view text);

}  // namespace veltrin
