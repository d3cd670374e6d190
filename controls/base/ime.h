// Input-method (IME) contexts of the controls' native windows and the IMEMode property's effect
// on the open state and conversion mode.
#pragma once

#include <windows.h>
#include <imm.h>

#include <optional>

#include "common/unique_handle.h"

namespace veltrin::controls {

struct ImeContextTraits {
  using Handle = HIMC;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle context) noexcept { ImmDestroyContext(context); }
};

// An owned input context, destroyed with ImmDestroyContext. Detach it from its window first
// (DestroyImeContext does both).
using UniqueImeContext = UniqueHandle<ImeContextTraits>;

// IMEMode values.
enum ImeModeValue : int {
  kImeNoControl = 0,
  kImeOn = 1,
  kImeOff = 2,
  kImeDisabled = 3,
  kImeHiragana = 4,
  kImeKatakana = 5,
  kImeKatakanaHalf = 6,
  kImeAlphaFull = 7,
  kImeAlpha = 8,
  kImeHangulFull = 9,
  kImeHangul = 10,
};

// Creates a context and associates it with `window` when `context` is empty; leaves a held context
// alone. `context` stays empty when the system gives none.
void CreateImeContext(HWND window, UniqueImeContext& context) noexcept;

// Detaches the held context from `window` and destroys it; does nothing when none is held.
void DestroyImeContext(HWND window, UniqueImeContext& context) noexcept;

// What an IMEMode does to the input method: whether it opens or closes it (nothing when empty)
// and the conversion mode it leaves.
struct ImeModeEffect {
  std::optional<bool> open;  // ImmSetOpenStatus argument, if any
  DWORD conversion;          // the conversion mode to write back
};

// Returns the effect of `mode` (other than 0 and 3) on a window whose conversion mode is
// `conversion`.
ImeModeEffect ImeModeEffectFor(int mode, DWORD conversion) noexcept;

// Applies IMEMode `mode` to `window` using `context` (the window's own held context). Does nothing
// when the keyboard layout is not an input method or `context` is null. Mode 3 detaches every
// context from the window; other modes first re-associate `context` when the window has none.
void ApplyImeMode(HWND window, HIMC context, int mode) noexcept;

}  // namespace veltrin::controls
