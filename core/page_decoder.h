// Decoding of a page's bytes, piece by piece, from its charset into UTF-16 text.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/charset.h"

namespace veltrin {

class PageDecoder {
 public:
  virtual ~PageDecoder() = default;
  // Takes the HTTP Content-Type of a download, before any bytes; only `auto` looks at it.
  virtual void SetContentType(std::string_view) {}
  // Appends the text of the next bytes; a character cut off at their end waits for the next ones.
  // Ill-formed bytes become U+FFFD; decoding never stops.
  virtual void Decode(std::string_view bytes, std::u16string& text) = 0;
  // Appends what is left at the end of the page.
  virtual void Finish(std::u16string& text) = 0;
};

// A decoder over a conversion that takes whole characters only: the bytes of a character cut off
// at the end of a piece are carried in front of the next one.
class CarryingPageDecoder : public PageDecoder {
 public:
  void Decode(std::string_view bytes, std::u16string& text) final;
  // A character cut off by the end of the page gives one U+FFFD.
  void Finish(std::u16string& text) final;

 protected:
  // Converts the whole characters at the start of `bytes`, appending to `text`; returns the
  // bytes they take.
  virtual std::size_t ConvertWhole(std::string_view bytes, std::u16string& text) = 0;

 private:
  std::string carried_;  // the start of a character cut off by the end of the previous piece
};

// Returns a decoder for the charset. With skip_utf8_mark, a UTF-8 byte-order mark at the start is
// not part of the text (files and standard input), otherwise it stays as U+FEFF (downloads).
// Throws std::runtime_error when the platform cannot convert from the charset.
std::unique_ptr<PageDecoder> MakePageDecoder(const Charset& charset, bool skip_utf8_mark);

// Returns the decoder of `--charset auto`: the charset comes from the Content-Type, else a
// byte-order mark, else a meta declaration in the first 1024 bytes, else UTF-8. A declared
// charset that is unknown, that this system cannot convert, or that the first 64 KiB contradict
// by being well-formed UTF-8 with non-ASCII text, gives UTF-8. A byte-order mark is never text.
std::unique_ptr<PageDecoder> MakeAutoPageDecoder();

// Returns a decoder for a charset of kind kPlatform, by iconv or the Windows code-page
// conversion. Throws std::runtime_error when the platform does not know the charset.
std::unique_ptr<PageDecoder> MakePlatformDecoder(const Charset& charset);

}  // namespace veltrin
