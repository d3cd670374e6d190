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

// Decodes bytes as Utf8BytesToText does and appends the units to `text`. Unless `final`, a
// sequence cut off by the end of `bytes` is left undecoded; returns the number of bytes decoded
// (all of them when `final`), so that the rest can go in front of the next piece.
std::size_t DecodeUtf8Prefix(std::string_view bytes, bool final, std::u16string& text);

// Encodes UTF-16 text as UTF-8 without a byte-order mark. Never fails: a lone surrogate is
// encoded as U+FFFD.
std::string TextToUtf8(std::u16string_view text);

// Writes the UTF-8 of the text as TextToUtf8 does to `out`, which has room for 3 bytes per unit;
// returns the bytes written.
std::size_t EncodeUtf8(std::u16string_view text, char* out);

}  // namespace veltrin
