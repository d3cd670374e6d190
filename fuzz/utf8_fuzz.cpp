// Fuzzes the UTF-8 codec: decoding in pieces cut where the input says equals decoding at once,
// with or without a byte-order mark skipped; encoding what was decoded gives bytes that decode to
// the same text; and any UTF-16 survives encoding with only its lone surrogates replaced.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/utf8.h"
#include "core/utf8_stream.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const unsigned step = 1 + data[0] % 7;  // the length of the pieces
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::u16string whole = veltrin::Utf8BytesToText(bytes);
  for (bool skip_mark : {false, true}) {
    veltrin::Utf8StreamDecoder decoder(skip_mark);
    std::u16string text;
    for (std::size_t at = 0; at < bytes.size(); at += step) {
      decoder.Decode(bytes.substr(at, step), text);
    }
    decoder.Finish(text);
    std::string_view expected_bytes = bytes;
    if (skip_mark && expected_bytes.starts_with("\xEF\xBB\xBF")) expected_bytes.remove_prefix(3);
    Require(text == veltrin::Utf8BytesToText(expected_bytes));
  }

  Require(veltrin::Utf8BytesToText(veltrin::TextToUtf8(whole)) == whole);

  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  std::u16string expected = units;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const bool high = expected[i] >= 0xD800 && expected[i] <= 0xDBFF;
    const bool low = expected[i] >= 0xDC00 && expected[i] <= 0xDFFF;
    if (high && i + 1 < expected.size() && expected[i + 1] >= 0xDC00 && expected[i + 1] <= 0xDFFF) {
      ++i;
    } else if (high || low) {
      expected[i] = u'\uFFFD';
    }
  }
  Require(veltrin::Utf8BytesToText(veltrin::TextToUtf8(units)) == expected);
  return 0;
}
