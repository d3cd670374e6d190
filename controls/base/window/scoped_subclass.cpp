// Installing and removing a subclass by scope, and the receiver that dispatches to a handler.
#include "controls/base/window/scoped_subclass.h"

#include <utility>

namespace veltrin::controls {
ScopedSubclass::ScopedSubclass(HWND window, ISubclass& receiver, DWORD_PTR ref_data,
                               std::wstring name)
    : name_(std::move(name)) {
  if (!window) return;
  SubclassWindow(window, &receiver, ref_data, name_);
  window_ = window;
}

ScopedSubclass::ScopedSubclass(ScopedSubclass&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)), name_(std::move(other.name_)) {}

ScopedSubclass& ScopedSubclass::operator=(ScopedSubclass&& other) noexcept {
  if (this != &other) {
    Reset();
    window_ = std::exchange(other.window_, nullptr);
    name_ = std::move(other.name_);
  }
  return *this;
}

void ScopedSubclass::Reset() noexcept {
  const HWND window = std::exchange(window_, nullptr);
  if (window && IsWindow(window)) UnsubclassWindow(window, name_);
}

HandlerSubclass::HandlerSubclass(MessageHandler& handler) noexcept
    : SubclassReceiver(handler.KeepAlive()), handler_(handler) {}

LRESULT STDMETHODCALLTYPE HandlerSubclass::Message(HWND window, UINT message, WPARAM w_param,
                                                   LPARAM l_param, DWORD_PTR) {
  return handler_.HandleMessage(window, message, w_param, l_param, DefaultWindowProc);
}

}  // namespace veltrin::controls
