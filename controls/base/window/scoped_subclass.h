// Subclassing by RAII: a scope that installs a subclass and removes it again, and the receiver
// that hands a subclassed window's messages to a MessageHandler (unhandled ones go down the
// subclass chain).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "controls/base/subclass.h"
#include "controls/base/window/message_handler.h"

namespace veltrin::controls {

// Installs the subclass `name` for `receiver` on construction and removes it on destruction or
// Reset (nothing happens for a window that is gone: the core removed the subclass as it died).
class ScopedSubclass {
 public:
  ScopedSubclass() noexcept = default;
  ScopedSubclass(HWND window, ISubclass& receiver, DWORD_PTR ref_data, std::wstring name = {});
  ScopedSubclass(ScopedSubclass&& other) noexcept;
  ScopedSubclass& operator=(ScopedSubclass&& other) noexcept;
  ~ScopedSubclass() { Reset(); }

  // Removes the subclass now; the scope becomes empty.
  void Reset() noexcept;
  HWND Window() const noexcept { return window_; }
  explicit operator bool() const noexcept { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;  // the subclassed window; null when empty
  std::wstring name_;      // the subclass name (empty: the default)
};

// The receiver of a subclassed window whose messages a MessageHandler handles. The handler's
// keep-alive object stays alive while the subclass procedure runs a call.
class HandlerSubclass : public SubclassReceiver {
 public:
  explicit HandlerSubclass(MessageHandler& handler) noexcept;

  LRESULT STDMETHODCALLTYPE Message(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                    DWORD_PTR ref_data) override;

 private:
  MessageHandler& handler_;
};

}  // namespace veltrin::controls
