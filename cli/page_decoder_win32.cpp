// The platform decoder on Windows: MultiByteToWideChar on whole characters. The code page's own
// lead-byte rules (and GB18030's four-byte form) say where a piece may be cut.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "cli/page_decoder.h"

namespace veltrin::cli {

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

  void Finish(std::u16string& text) override {
    Convert(Carried(), text, true);
    Carried().clear();
  }

 private:
  // Returns where the last whole character of `bytes` ends, walking from the start.
  std::size_t WholeCharacters(std::string_view bytes) const {
    if (!double_byte_) return bytes.size();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t at = 0;
    while (at < n) {
      std::size_t length = 1;
      if (code_page_ == kGb18030CodePage) {
        if (data[at] >= 0x81 && data[at] <= 0xFE)
          length = at + 1 < n && IsDigit(data[at + 1]) ? 4 : 2;
      } else if (IsDBCSLeadByteEx(code_page_, data[at])) {
        length = 2;
      }
      if (at + length > n) break;
      at += length;
    }
    return at;
  }

  std::size_t ConvertWhole(std::string_view bytes, std::u16string& text) override {
    return Convert(bytes, text, false);
  }

  // Converts the whole characters of `bytes` (all of them when `final`), appending to `text`;
  // returns the bytes consumed. Invalid bytes become the code page's replacement character.
  std::size_t Convert(std::string_view bytes, std::u16string& text, bool final) {
    const std::size_t whole = final ? bytes.size() : WholeCharacters(bytes);
    std::size_t done = 0;
    while (done < whole) {
      // Pieces of at most 1 MiB keep the counts in an int; cut on a character boundary.
      std::size_t size = whole - done;
      if (size > (1u << 20)) size = WholeCharacters(bytes.substr(done, 1u << 20));
      const int length = static_cast<int>(size);
      const char* source = bytes.data() + done;
      const int units = MultiByteToWideChar(code_page_, 0, source, length, nullptr, 0);
      if (units > 0) {
        const std::size_t old_size = text.size();
        text.resize(old_size + static_cast<std::size_t>(units));
        MultiByteToWideChar(code_page_, 0, source, length,
                            reinterpret_cast<wchar_t*>(text.data() + old_size), units);
      }
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

}  // namespace veltrin::cli
