// Shared pieces of the host tests: a control that logs its notifications, and message pumping.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/base/host/extender.h"
#include "controls/base/host/form.h"
#include "controls/base/host/user_control.h"

namespace veltrin::controls::host_test {

using Log = std::vector<std::wstring>;

// Logs each Validate of one control into `log` and cancels it on request.
struct ValidateLog : ExtenderEvents {
  explicit ValidateLog(Log& log) : log(log) {}
  void Validate(bool& cancel) override {
    log.push_back(L"Validate");
    cancel = cancel_next;
  }
  Log& log;
  bool cancel_next = false;
};

// Logs "<name>.<notification>" for every host notification; persists one property "Caption".
class LoggingControl : public UserControl {
 public:
  LoggingControl(Log* log, std::wstring tag) : log_(log), tag_(std::move(tag)) {}
  std::wstring caption;

  // Public for tests that call through the control's own members.
  using UserControl::PropertyChanged;

 protected:
  void Initialize() override { Write(L"Initialize"); }
  void InitProperties() override {
    Write(L"InitProperties");
    caption = Ambient().DisplayName();
  }
  void ReadProperties(PropertyBag& bag) override {
    Write(L"ReadProperties");
    caption = bag.ReadProperty(L"Caption", PropertyValue(L"")).ToString();
  }
  void Resize() override { Write(L"Resize"); }
  void AmbientChanged(const std::wstring& name) override { Write(L"AmbientChanged:" + name); }
  void WriteProperties(PropertyBag& bag) override {
    Write(L"WriteProperties");
    bag.WriteProperty(L"Caption", PropertyValue(caption), PropertyValue(L""));
  }
  void Terminate() override { Write(L"Terminate"); }
  std::span<const DispatchName> DispatchNames() const override {
    static constexpr DispatchName kNames[] = {{L"Text", 0}, {L"MousePointer", 42}};
    return kNames;
  }

 private:
  void Write(const std::wstring& what) {
    if (log_) log_->push_back(tag_ + L"." + what);
  }
  Log* log_;
  std::wstring tag_;
};

// Prints two sequences side by side.
inline std::string SideBySide(const Log& expected, const Log& actual) {
  std::string text = "expected | actual\n";
  for (size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
    auto narrow = [](const Log& log, size_t i) {
      return i < log.size() ? std::string(log[i].begin(), log[i].end()) : std::string("-");
    };
    text += narrow(expected, i) + " | " + narrow(actual, i) + "\n";
  }
  return text;
}

// Dispatches what is queued, through the form's pre-translation.
inline void Pump(Form& form) {
  form.PumpPendingMessages();
}

// Posts a key press (down and up) to the window that has the focus and pumps.
inline void PressKey(Form& form, UINT key) {
  const HWND target = GetFocus() ? GetFocus() : form.hWnd();
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
  Pump(form);
}

}  // namespace veltrin::controls::host_test
