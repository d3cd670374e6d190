// Shared pieces of the text box tests: a form hosting text boxes, and an event handler that logs
// every event with its arguments and can answer the in/out parameters.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/host/host_fixture.h"
#include "controls/base/host/data_object.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/form.h"
#include "controls/textbox/text_box.h"

namespace veltrin::controls::textbox_test {

using host_test::Log;
using host_test::SideBySide;

// Logs "<Event> <arguments...>"; the hooks let a test change in/out parameters.
struct EventLog : TextBoxEvents {
  Log log;
  std::function<void(int16_t&)> on_key_press;
  std::function<void(int16_t&)> on_key_down;
  std::function<void(int16_t, bool&)> on_preview_key_down;
  std::function<void(bool&)> on_context_menu;
  std::function<void(DataObject&, int32_t&)> on_drag_drop;
  std::function<void(DataObject&, int32_t&)> on_start_drag;
  // Every MouseDown, MouseMove and MouseUp with its arguments (MouseMove is not logged).
  std::function<void(const wchar_t*, int16_t, int16_t, float, float)> on_mouse;

  void Write(const std::wstring& entry) { log.push_back(entry); }
  void Click() override { Write(L"Click"); }
  void DblClick() override { Write(L"DblClick"); }
  void Change() override { Write(L"Change"); }
  void MaxText() override { Write(L"MaxText"); }
  void Scroll() override { Write(L"Scroll"); }
  void ContextMenu(bool& handled, float x, float y) override {
    Write(L"ContextMenu " + std::to_wstring(static_cast<int>(x)) + L" " +
          std::to_wstring(static_cast<int>(y)));
    if (on_context_menu) on_context_menu(handled);
  }
  void PreviewKeyDown(int16_t key_code, bool& is_input_key) override {
    Write(L"PreviewKeyDown " + std::to_wstring(key_code));
    if (on_preview_key_down) on_preview_key_down(key_code, is_input_key);
  }
  void PreviewKeyUp(int16_t key_code, bool&) override {
    Write(L"PreviewKeyUp " + std::to_wstring(key_code));
  }
  void KeyDown(int16_t& key_code, int16_t shift) override {
    Write(L"KeyDown " + std::to_wstring(key_code) + L" " + std::to_wstring(shift));
    if (on_key_down) on_key_down(key_code);
  }
  void KeyUp(int16_t& key_code, int16_t shift) override {
    Write(L"KeyUp " + std::to_wstring(key_code) + L" " + std::to_wstring(shift));
  }
  void KeyPress(int16_t& key_char) override {
    Write(L"KeyPress " + std::to_wstring(key_char));
    if (on_key_press) on_key_press(key_char);
  }
  void MouseDown(int16_t button, int16_t shift, float x, float y) override {
    Write(L"MouseDown " + std::to_wstring(button));
    if (on_mouse) on_mouse(L"MouseDown", button, shift, x, y);
  }
  void MouseMove(int16_t button, int16_t shift, float x, float y) override {
    if (on_mouse) on_mouse(L"MouseMove", button, shift, x, y);
  }
  void MouseUp(int16_t button, int16_t shift, float x, float y) override {
    Write(L"MouseUp " + std::to_wstring(button));
    if (on_mouse) on_mouse(L"MouseUp", button, shift, x, y);
  }
  void MouseEnter() override { Write(L"MouseEnter"); }
  void MouseLeave() override { Write(L"MouseLeave"); }
  void OLEDragDrop(DataObject& data, int32_t& effect, int16_t button, int16_t shift, float,
                   float) override {
    Write(L"OLEDragDrop " + std::to_wstring(effect) + L" " + std::to_wstring(button) + L" " +
          std::to_wstring(shift));
    if (on_drag_drop) on_drag_drop(data, effect);
  }
  void OLEDragOver(DataObject&, int32_t& effect, int16_t, int16_t, float, float,
                   int16_t state) override {
    Write(L"OLEDragOver " + std::to_wstring(effect) + L" " + std::to_wstring(state));
  }
  void OLEStartDrag(DataObject& data, int32_t& allowed_effects) override {
    Write(L"OLEStartDrag " + std::to_wstring(allowed_effects));
    if (on_start_drag) on_start_drag(data, allowed_effects);
  }
  void OLECompleteDrag(int32_t effect) override {
    Write(L"OLECompleteDrag " + std::to_wstring(effect));
  }
};

// A shown form with one text box "TextBoxW1" (more on request), its events logged.
class TextBoxTest : public ::testing::Test {
 protected:
  TextBoxTest() {
    form.Show();
    SetForegroundWindow(form.hWnd());
    box = &AddBox(L"TextBoxW1", {10, 10, 310, 110});
    box->Events().Connect(&events);
    Pump();
  }

  TextBoxW& AddBox(const std::wstring& name, RECT bounds, PropertyBag* bag = nullptr) {
    auto control = std::make_unique<TextBoxW>();
    TextBoxW& added = *control;
    form.AddControl(std::move(control), name, bounds, bag);
    return added;
  }
  Extender& ExtenderOf(const TextBoxW& text_box) {
    for (size_t i = 0; i < form.ControlCount(); ++i) {
      if (form.ControlAt(i).Control() == &text_box) return form.ControlAt(i);
    }
    throw std::logic_error("not on the form");
  }
  void Pump() { host_test::Pump(form); }
  // Types one key into the focused window as the keyboard would: key down and key up through the
  // form's message loop, which translates the key into its character.
  void Type(UINT key) {
    const HWND target = GetFocus();
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    Pump();
    PostMessageW(target, WM_KEYUP, key, scan | static_cast<LPARAM>(0xC0000001));
    Pump();
  }
  void FocusBox(TextBoxW& text_box) {
    text_box.SetFocus();
    Pump();
  }
  void ExpectLog(const Log& expected) {
    EXPECT_EQ(events.log, expected) << SideBySide(expected, events.log);
  }

  Form form;
  EventLog events;
  TextBoxW* box = nullptr;
};

}  // namespace veltrin::controls::textbox_test
