// The decoders of our own making (UTF-8, UTF-16) and the one that picks a charset for `auto`.
#include "core/page_decoder.h"

#include <stdexcept>

#include "core/utf8_stream.h"

namespace veltrin {

namespace {

class Utf8PageDecoder : public PageDecoder {
 public:
  explicit Utf8PageDecoder(bool skip_mark) : decoder_(skip_mark) {}
  void Decode(std::string_view bytes, std::u16string& text) override {
    decoder_.Decode(bytes, text);
  }
  void Finish(std::u16string& text) override { decoder_.Finish(text); }

 private:
  Utf8StreamDecoder decoder_;  // our own codec, the same as for whole texts
};

// UTF-16 in either byte order: pairs of bytes are code units as they are (a lone surrogate stays
// a lone surrogate, as in any UTF-16 text); an odd last byte becomes U+FFFD.
class Utf16PageDecoder : public PageDecoder {
 public:
  explicit Utf16PageDecoder(bool big_endian) : big_endian_(big_endian) {}
  void Decode(std::string_view bytes, std::u16string& text) override {
    for (char byte : bytes) {
      if (!has_half_) {
        half_ = static_cast<unsigned char>(byte);
        has_half_ = true;
        continue;
      }
      const unsigned char second = static_cast<unsigned char>(byte);
      text += static_cast<char16_t>(big_endian_ ? (half_ << 8) | second : (second << 8) | half_);
      has_half_ = false;
    }
  }
  void Finish(std::u16string& text) override {
    if (has_half_) text += u'\uFFFD';
    has_half_ = false;
  }

 private:
  bool big_endian_;         // the byte order
  unsigned char half_ = 0;  // the first byte of a unit cut off by the end of a piece
  bool has_half_ = false;   // whether half_ holds one
};

// Holds back the start of the page until it can tell the charset, then hands everything to the
// decoder of that charset.
class AutoPageDecoder : public PageDecoder {
 public:
  void SetContentType(std::string_view content_type) override {
    declared_ = CharsetFromContentType(content_type);
  }
  void Decode(std::string_view bytes, std::u16string& text) override {
    if (chosen_) {
      chosen_->Decode(bytes, text);
      return;
    }
    head_.append(bytes);
    if (head_.size() >= kSniffBytes) Choose(text);
  }
  void Finish(std::u16string& text) override {
    if (!chosen_) Choose(text);
    chosen_->Finish(text);
  }

 private:
  static constexpr std::size_t kSniffBytes = std::size_t{64} << 10;

  void Choose(std::u16string& text) {
    std::string_view head = head_;
    std::optional<Charset> charset = declared_;
    if (!charset) {
      if (const auto mark = CharsetFromByteOrderMark(head)) {
        charset = mark->first;
        head.remove_prefix(mark->second);
      }
    }
    if (!charset) charset = CharsetFromMetaDeclaration(head);
    if (charset && charset->kind == Charset::Kind::kPlatform && !LooksLikeUtf8(head)) {
      try {
        chosen_ = MakePlatformDecoder(*charset);
      } catch (const std::runtime_error&) {
        // This system cannot convert the declared charset: read the page as UTF-8.
      }
    } else if (charset && charset->kind != Charset::Kind::kPlatform) {
      chosen_ = MakePageDecoder(*charset, true);
    }
    // Whatever the source, a UTF-8 mark is taken as the signature it is and not as text.
    if (!chosen_) chosen_ = MakePageDecoder(Charset{}, true);
    chosen_->Decode(head, text);
    head_.clear();
    head_.shrink_to_fit();
  }

  std::optional<Charset> declared_;      // the charset of the Content-Type, when known
  std::string head_;                     // the bytes held back until the choice
  std::unique_ptr<PageDecoder> chosen_;  // the decoder of the charset chosen
};

}  // namespace

void CarryingPageDecoder::Decode(std::string_view bytes, std::u16string& text) {
  if (carried_.empty()) {
    carried_.assign(bytes.substr(ConvertWhole(bytes, text)));
    return;
  }
  carried_.append(bytes);
  carried_.erase(0, ConvertWhole(carried_, text));
}

void CarryingPageDecoder::Finish(std::u16string& text) {
  if (!carried_.empty()) text += u'\uFFFD';
  carried_.clear();
}

std::unique_ptr<PageDecoder> MakePageDecoder(const Charset& charset, bool skip_utf8_mark) {
  switch (charset.kind) {
    case Charset::Kind::kUtf8:
      return std::make_unique<Utf8PageDecoder>(skip_utf8_mark);
    case Charset::Kind::kUtf16LittleEndian:
      return std::make_unique<Utf16PageDecoder>(false);
    case Charset::Kind::kUtf16BigEndian:
      return std::make_unique<Utf16PageDecoder>(true);
    case Charset::Kind::kPlatform:
      break;
  }
  return MakePlatformDecoder(charset);
}

std::unique_ptr<PageDecoder> MakeAutoPageDecoder() {
  return std::make_unique<AutoPageDecoder>();
}

}  // namespace veltrin
