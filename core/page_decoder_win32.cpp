// The platform decoder on Windows: MultiByteToWideChar on whole characters. The code page's own
// lead-byte rules (and GB18030's four-byte form) say where a piece may be cut.
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/page_decoder.h"

namespace veltrin {

namespace {

constexpr unsigned kGb18030CodePage = 54936;

bool IsDigit(unsigned char byte) {
  return byte >= 0x30 && byte <= 0x39;
}

class CodePageDecoder : public CarryingPageDecoder {
 public:
  explicit CodePageDecoder(const Charset& charset) : code_page_(charset.code_page) {
    CPINFO info{};
    if (!IsValidCodePage(code_page_) || !GetCPInfo(code_page_, &info)) {
      throw std::runtime_error("this system cannot convert from " + std::string(charset.name));
    }
    double_byte_ = info.MaxCharSize > 1;
  }

 private:
  // Returns the length of the character that starts `bytes` by the code page's lead-byte rules
  // (GB18030 has a four-byte form: a lead byte and a digit); it may run past their end.
  std::size_t CharacterLength(std::string_view bytes) const {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (!double_byte_) return 1;
    if (code_page_ == kGb18030CodePage) {
      if (lead < 0x81 || lead > 0xFE) return 1;
      return bytes.size() > 1 && IsDigit(static_cast<unsigned char>(bytes[1])) ? 4 : 2;
    }
    return IsDBCSLeadByteEx(code_page_, lead) ? 2 : 1;
  }

  // Returns where the last whole character of `bytes` ends, walking from the start.
  std::size_t WholeCharacters(std::string_view bytes) const {
    if (!double_byte_) return bytes.size();
    std::size_t at = 0;
    while (at < bytes.size()) {
      const std::size_t length = CharacterLength(bytes.substr(at));
      if (at + length > bytes.size()) break;
      at += length;
    }
    return at;
  }

  // Appends the conversion of `bytes`; returns false, appending nothing, when they hold an
  // invalid sequence.
  bool TryConvert(std::string_view bytes, std::u16string& text) const {
    const int length = static_cast<int>(bytes.size());
    const int units =
        MultiByteToWideChar(code_page_, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (units <= 0) return false;
    const std::size_t old_size = text.size();
    text.resize(old_size + static_cast<std::size_t>(units));
    MultiByteToWideChar(code_page_, MB_ERR_INVALID_CHARS, bytes.data(), length,
                        reinterpret_cast<wchar_t*>(text.data() + old_size), units);
    return true;
  }

  // Converts a run that holds an invalid sequence character by character: a character that does
  // not convert gives U+FFFD and conversion goes on at its second byte, as on Linux.
  void ConvertOneByOne(std::string_view bytes, std::u16string& text) const {
    while (!bytes.empty()) {
      const std::size_t length = std::min(CharacterLength(bytes), bytes.size());
      if (TryConvert(bytes.substr(0, length), text)) {
        bytes.remove_prefix(length);
      } else {
        text += u'\uFFFD';
        bytes.remove_prefix(1);
      }
    }
  }

  std::size_t ConvertWhole(std::string_view bytes, std::u16string& text) override {
    const std::size_t whole = WholeCharacters(bytes);
    std::size_t done = 0;
    while (done < whole) {
      // Pieces of at most 1 MiB keep the counts in an int; cut on a character boundary.
      std::size_t size = whole - done;
      if (size > (1u << 20)) size = WholeCharacters(bytes.substr(done, 1u << 20));
      const std::string_view run = bytes.substr(done, size);
      if (!TryConvert(run, text)) ConvertOneByOne(run, text);
      done += size;
    }
    return whole;
  }

  UINT code_page_;            // the page's code page
  bool double_byte_ = false;  // whether characters may take more than one byte
};

}  // namespace

std::unique_ptr<PageDecoder> MakePlatformDecoder(const Charset& charset) {
  return std::make_unique<CodePageDecoder>(charset);
}

}  // namespace veltrin
