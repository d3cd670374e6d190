// The platform decoder on Linux: iconv into UTF-16, with invalid bytes replaced one by one.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <string>

#include "common/unique_handle.h"
#include "core/page_decoder.h"

namespace veltrin {

namespace {

// Owns an iconv conversion descriptor; iconv_open reports failure as (iconv_t)-1.
struct IconvTraits {
  using Handle = iconv_t;
  static Handle Empty() noexcept { return reinterpret_cast<iconv_t>(-1); }
  static void Close(Handle handle) noexcept { iconv_close(handle); }
};
using IconvHandle = UniqueHandle<IconvTraits>;

class IconvPageDecoder : public CarryingPageDecoder {
 public:
  explicit IconvPageDecoder(const Charset& charset)
      : handle_(iconv_open(kTarget, std::string(charset.iconv_name).c_str())) {
    if (!handle_) {
      throw std::runtime_error("this system cannot convert from " + std::string(charset.name));
    }
  }

 private:
  // Little-endian UTF-16 is char16_t's own layout on every machine this builds for.
  static constexpr const char* kTarget = "UTF-16LE";

  // Converts as much as can be, appending to `text`; returns the bytes consumed. Stops before a
  // character cut off at the end; an invalid byte becomes U+FFFD and conversion goes on after it.
  std::size_t ConvertWhole(std::string_view bytes, std::u16string& text) override {
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    char16_t buffer[4096];
    while (in_left > 0) {
      char* out = reinterpret_cast<char*>(buffer);
      std::size_t out_left = sizeof(buffer);
      const std::size_t result = iconv(handle_.Get(), &in, &in_left, &out, &out_left);
      const int error = errno;
      text.append(buffer, (sizeof(buffer) - out_left) / sizeof(char16_t));
      if (result != static_cast<std::size_t>(-1)) break;
      if (error == E2BIG) continue;
      if (error == EINVAL) break;  // cut off at the end: the next piece completes it
      // EILSEQ: one byte that cannot start a character here.
      text += u'\uFFFD';
      ++in;
      --in_left;
    }
    return bytes.size() - in_left;
  }

  IconvHandle handle_;  // the conversion from the page's charset
};

}  // namespace

std::unique_ptr<PageDecoder> MakePlatformDecoder(const Charset& charset) {
  return std::make_unique<IconvPageDecoder>(charset);
}

}  // namespace veltrin
