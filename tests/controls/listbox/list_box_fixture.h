// Shared pieces of the list box tests: a form hosting one ListBoxW, and an event recorder that logs
// the control's events in order.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/host/host_fixture.h"
#include "base/support/run_time_errors.h"
#include "controls/base/host/form.h"
#include "controls/listbox/list_box_w.h"

namespace veltrin::controls::list_box_test {

using host_test::Log;
using host_test::Pump;
using host_test::SideBySide;
using test::ErrorOf;

// Logs every event as "Name" or "Name:arguments"; can cancel ItemBeforeCheck and rewrite KeyDown.
class EventRecorder : public ListBoxWEvents {
 public:
  Log log;
  bool cancel_checks = false;
  bool zero_key_codes = false;

  void Click() override { log.push_back(L"Click"); }
  void DblClick() override { log.push_back(L"DblClick"); }
  void KeyDown(int16_t& key_code, int16_t) override {
    log.push_back(L"KeyDown:" + std::to_wstring(key_code));
    if (zero_key_codes) key_code = 0;
  }
  void Scroll() override { log.push_back(L"Scroll"); }
  void ItemBeforeCheck(int32_t item, bool& cancel) override {
    log.push_back(L"ItemBeforeCheck:" + std::to_wstring(item));
    cancel = cancel_checks;
  }
  void ItemCheck(int32_t item) override { log.push_back(L"ItemCheck:" + std::to_wstring(item)); }
};

// A form with one list box, "List1", at 10,10 - 210,170 pixels; `configure` runs on the control
// before it is placed (the properties a new instance starts with).
class ListBoxHost {
 public:
  explicit ListBoxHost(void (*configure)(ListBoxW&) = nullptr) {
    auto control = std::make_unique<ListBoxW>();
    list_ = control.get();
    if (configure) configure(*list_);
    form_.AddControl(std::move(control), L"List1", {10, 10, 210, 170});
    list_->Events().Connect(&events_);
    form_.Show();
    Pump(form_);
  }
  ListBoxW& List() noexcept { return *list_; }
  Form& GetForm() noexcept { return form_; }
  Log& Events() noexcept { return events_.log; }
  EventRecorder& Recorder() noexcept { return events_; }
  void Fill(std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* item : items) list_->AddItem(item);
  }

 private:
  Form form_;
  EventRecorder events_;
  ListBoxW* list_ = nullptr;  // owned by the form
};

#define EXPECT_EVENTS(host, ...)                                                   \
  do {                                                                             \
    const ::veltrin::controls::host_test::Log expected_{__VA_ARGS__};              \
    EXPECT_EQ((host).Events(), expected_)                                          \
        << ::veltrin::controls::host_test::SideBySide(expected_, (host).Events()); \
    (host).Events().clear();                                                       \
  } while (false)

}  // namespace veltrin::controls::list_box_test
