// IME context ownership and IMEMode application.
#include "controls/base/ime.h"

namespace veltrin::controls {
namespace {

// The window's current input context, released on every path.
class WindowImeContext {
 public:
  explicit WindowImeContext(HWND window) noexcept
      : window_(window), context_(ImmGetContext(window)) {}
  ~WindowImeContext() { Release(); }
  WindowImeContext(const WindowImeContext&) = delete;
  WindowImeContext& operator=(const WindowImeContext&) = delete;

  HIMC Get() const noexcept { return context_; }
  void Release() noexcept {
    if (context_) ImmReleaseContext(window_, context_);
    context_ = nullptr;
  }
  void Retake() noexcept {
    Release();
    context_ = ImmGetContext(window_);
  }

 private:
  HWND window_;
  HIMC context_;  // null when the window has none
};

}  // namespace

void CreateImeContext(HWND window, UniqueImeContext& context) noexcept {
  if (context) return;
  context.Reset(ImmCreateContext());
  if (context) ImmAssociateContext(window, context.Get());
}

void DestroyImeContext(HWND window, UniqueImeContext& context) noexcept {
  if (!context) return;
  ImmAssociateContext(window, nullptr);
  context.Reset();
}

ImeModeEffect ImeModeEffectFor(int mode, DWORD conversion) noexcept {
  constexpr DWORD kNative = IME_CMODE_NATIVE;
  constexpr DWORD kKatakana = IME_CMODE_KATAKANA;
  constexpr DWORD kFull = IME_CMODE_FULLSHAPE;
  switch (mode) {
    case kImeOn:
      return {true, conversion};
    case kImeOff:
      return {false, conversion};
    case kImeHiragana:
      return {true, (conversion | kNative | kFull) & ~kKatakana};
    case kImeKatakana:
      return {true, conversion | kNative | kKatakana | kFull};
    case kImeKatakanaHalf:
      return {true, (conversion | kNative | kKatakana) & ~kFull};
    case kImeAlphaFull:
      return {true, (conversion | kFull) & ~(kNative | kKatakana)};
    case kImeAlpha:
      return {true, conversion & ~(kNative | kKatakana | kFull)};
    case kImeHangulFull:
      return {true, conversion | kNative | kFull};
    case kImeHangul:
      return {true, (conversion | kNative) & ~kFull};
    default:
      return {std::nullopt, conversion};
  }
}

void ApplyImeMode(HWND window, HIMC context, int mode) noexcept {
  if (!context || !ImmIsIME(GetKeyboardLayout(0))) return;
  WindowImeContext current(window);
  if (mode == kImeDisabled) {
    if (current.Get()) {
      current.Release();
      ImmAssociateContext(window, nullptr);
    }
    return;
  }
  if (!current.Get()) {
    ImmAssociateContext(window, context);
    current.Retake();
    if (!current.Get()) return;
  }
  if (mode == kImeNoControl) return;
  DWORD conversion = 0;
  DWORD sentence = 0;
  ImmGetConversionStatus(current.Get(), &conversion, &sentence);
  const ImeModeEffect effect = ImeModeEffectFor(mode, conversion);
  if (effect.open) ImmSetOpenStatus(current.Get(), *effect.open ? TRUE : FALSE);
  ImmSetConversionStatus(current.Get(), effect.conversion, sentence);
}

}  // namespace veltrin::controls
