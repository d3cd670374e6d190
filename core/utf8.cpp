// Our own UTF-8 codec. Ill-formed input is replaced per "maximal subpart" (the Unicode and WHATWG
// rule), which is also what the Windows converter does, so results do not depend on the platform.
// Both directions take an ASCII fast path eight bytes at a time and allocate the output once.
#include "core/utf8.h"

#include <cstdint>
#include <cstring>

namespace veltrin {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint64_t kHighBits8 = 0x8080808080808080ull;
constexpr std::uint64_t kNonAscii4Units = 0xFF80FF80FF80FF80ull;

// Lowest and highest allowed second byte for each lead byte C2..F4 (Unicode table 3-7); the
// narrowed ranges exclude overlong forms, surrogates and values above U+10FFFF.
struct SecondByteRange {
  unsigned char low;
  unsigned char high;
};

constexpr SecondByteRange SecondRangeFor(unsigned char lead) {
  switch (lead) {
    case 0xE0:
      return {0xA0, 0xBF};
    case 0xED:
      return {0x80, 0x9F};
    case 0xF0:
      return {0x90, 0xBF};
    case 0xF4:
      return {0x80, 0x8F};
    default:
      return {0x80, 0xBF};
  }
}

constexpr bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

std::string_view WithoutByteOrderMark(std::string_view bytes) noexcept {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  return bytes;
}

std::size_t DecodeUtf8Prefix(std::string_view bytes, bool final, std::u16string& text) {
  // Every byte yields at most one code unit (a four-byte sequence yields two); the output goes
  // through a small buffer so that the big one is appended to in large steps.
  constexpr std::ptrdiff_t kChunk = 4096;
  char16_t buffer[kChunk];
  char16_t* out = buffer;
  const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* in = begin;
  const auto* const end = in + bytes.size();

  while (in != end) {
    if (buffer + kChunk - out < 8) {
      text.append(buffer, out);
      out = buffer;
    }
    // Each fast loop leaves room for the two units that the general step below may write.
    while (end - in >= 8 && buffer + kChunk - out >= 10) {
      std::uint64_t chunk;
      std::memcpy(&chunk, in, 8);
      if (chunk & kHighBits8) break;
      for (int i = 0; i < 8; ++i) out[i] = in[i];
      in += 8;
      out += 8;
    }
    // Runs of three-byte sequences (all of Chinese) take a loop of their own; E0 and ED, whose
    // second byte has a narrower range, go the general way.
    while (end - in >= 3 && buffer + kChunk - out >= 3 && (in[0] & 0xF0) == 0xE0 && in[0] != 0xE0 &&
           in[0] != 0xED && (in[1] & 0xC0) == 0x80 && (in[2] & 0xC0) == 0x80) {
      *out++ =
          static_cast<char16_t>(((in[0] & 0x0F) << 12) | ((in[1] & 0x3F) << 6) | (in[2] & 0x3F));
      in += 3;
    }
    if (in == end) break;

    const unsigned char lead = *in;
    if (lead < 0x80) {
      *out++ = lead;
      ++in;
      continue;
    }
    int trail_count;
    std::uint32_t code;
    if (lead >= 0xC2 && lead <= 0xDF) {
      trail_count = 1;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trail_count = 2;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trail_count = 3;
      code = lead & 0x07;
    } else {
      // A stray continuation byte, C0, C1 or F5..FF can start nothing: it is its own subpart.
      *out++ = kReplacement;
      ++in;
      continue;
    }

    const auto* const sequence = in;
    ++in;
    const SecondByteRange second = SecondRangeFor(lead);
    bool complete = true;
    for (int i = 0; i < trail_count; ++i) {
      if (in == end && !final) {
        // A sequence cut off by the end of this piece: the next piece decides what it is.
        text.append(buffer, out);
        return static_cast<std::size_t>(sequence - begin);
      }
      const bool fits =
          in != end && (i == 0 ? (*in >= second.low && *in <= second.high) : IsContinuation(*in));
      if (!fits) {
        // The bytes taken so far form the maximal subpart; the offending byte starts afresh.
        complete = false;
        break;
      }
      code = (code << 6) | (*in & 0x3F);
      ++in;
    }
    if (!complete) {
      *out++ = kReplacement;
    } else if (code < 0x10000) {
      *out++ = static_cast<char16_t>(code);
    } else {
      code -= 0x10000;
      *out++ = static_cast<char16_t>(0xD800 | (code >> 10));
      *out++ = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
    }
  }
  text.append(buffer, out);
  return bytes.size();
}

std::u16string Utf8BytesToText(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  DecodeUtf8Prefix(bytes, true, text);
  return text;
}

namespace {

constexpr bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Counts the UTF-8 bytes of a text so that the encoder can allocate once and exactly.
std::size_t EncodedSize(std::u16string_view text) {
  std::size_t size = 0;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t unit = text[i];
    if (unit < 0x80) {
      size += 1;
    } else if (unit < 0x800) {
      size += 2;
    } else if (IsHighSurrogate(unit) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
      size += 4;
      ++i;
    } else {
      size += 3;  // includes a lone surrogate, written as U+FFFD
    }
  }
  return size;
}

}  // namespace

std::size_t EncodeUtf8(std::u16string_view text, char* out) {
  char* const start = out;
  const char16_t* in = text.data();
  const char16_t* const end = in + text.size();

  while (in != end) {
    while (end - in >= 4) {
      std::uint64_t chunk;
      std::memcpy(&chunk, in, 8);
      if (chunk & kNonAscii4Units) break;
      for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(in[i]);
      in += 4;
      out += 4;
    }
    // Runs of three-byte characters (all of Chinese) take a loop of their own.
    while (in != end && *in >= 0x800 && (*in < 0xD800 || *in > 0xDFFF)) {
      const char16_t code = *in++;
      out[0] = static_cast<char>(0xE0 | (code >> 12));
      out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out[2] = static_cast<char>(0x80 | (code & 0x3F));
      out += 3;
    }
    if (in == end) break;

    std::uint32_t code = *in++;
    if (code < 0x80) {
      *out++ = static_cast<char>(code);
      continue;
    }
    if (code < 0x800) {
      *out++ = static_cast<char>(0xC0 | (code >> 6));
      *out++ = static_cast<char>(0x80 | (code & 0x3F));
      continue;
    }
    if (IsHighSurrogate(static_cast<char16_t>(code)) && in != end && IsLowSurrogate(*in)) {
      code = 0x10000 + ((code - 0xD800) << 10) + (*in++ - 0xDC00);
      *out++ = static_cast<char>(0xF0 | (code >> 18));
      *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (code & 0x3F));
      continue;
    }
    if (code >= 0xD800 && code <= 0xDFFF) code = kReplacement;
    *out++ = static_cast<char>(0xE0 | (code >> 12));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return static_cast<std::size_t>(out - start);
}

std::string TextToUtf8(std::u16string_view text) {
  std::string bytes(EncodedSize(text), '\0');
  EncodeUtf8(text, bytes.data());
  return bytes;
}

}  // namespace veltrin
