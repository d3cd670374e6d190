// A control built on NativeControl the way the library's controls are, hosted twice on a form with
// a button: its companions answer the host's shared interfaces through the patched tables and the
// accelerator wrapper, and keys reach it through the form's message loop.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/host/host_fixture.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/form.h"
#include "controls/base/interception/interception_state.h"
#include "controls/base/interception/vtable_handle.h"
#include "controls/base/native_control.h"
#include "controls/base/text_persistence.h"

namespace veltrin::controls {
namespace {

using host_test::Log;
using host_test::Pump;
using host_test::SideBySide;

constexpr DISPID kCaptionDispId = 1;

// The demonstration control: an EDIT child filling its container, a persisted Unicode caption,
// and two companions that say something of their own.
class DemoControl final : public NativeControl {
 public:
  DemoControl(Log& log, bool eats_return) : log_(log), eats_return_(eats_return) {}

  HWND ChildWindow() const { return Child().Handle(); }
  const std::wstring& Caption() const { return caption_; }
  // Keys the companion saw, and keys the child window received.
  std::vector<WPARAM> translated;
  std::vector<WPARAM> child_keys;

 protected:
  const wchar_t* ChildClass() const override { return L"EDIT"; }
  DWORD ChildStyle() const override { return ES_MULTILINE; }
  std::wstring ChildText() const override { return caption_; }

  void InitializeControl() override { log_.push_back(L"Initialize"); }
  void InitControlProperties() override {
    log_.push_back(L"InitProperties");
    caption_ = Ambient().DisplayName();
  }
  void ReadControlProperties(PropertyBag& bag) override {
    log_.push_back(L"ReadProperties");
    caption_ = StoredValueToText(bag.ReadProperty(L"Caption", PropertyValue()));
  }
  void Resize() override {
    log_.push_back(L"Resize");
    NativeControl::Resize();
  }
  void WriteProperties(PropertyBag& bag) override {
    log_.push_back(L"WriteProperties");
    bag.WriteProperty(L"Caption", TextToStoredValue(caption_), PropertyValue());
  }
  void TerminateControl() override { log_.push_back(L"Terminate"); }

  MessageResult OnKeyDown(UINT key, UINT) override {
    child_keys.push_back(key);
    return kNotHandled;
  }

  // Return stays in the control when it says so.
  HRESULT STDMETHODCALLTYPE GetControlInfo(bool& handled, int32_t& accel_count, HACCEL&,
                                           int32_t& flags) override {
    handled = true;
    accel_count = 0;
    flags = eats_return_ ? CTRLINFO_EATS_RETURN : 0;
    return S_OK;
  }
  // F2 is the control's own command; other keys go on.
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(bool& handled, HRESULT& ret_val, UINT message,
                                                 WPARAM w_param, LPARAM, int32_t) override {
    if (message != WM_KEYDOWN) return S_OK;
    translated.push_back(w_param);
    if (w_param == VK_F2) {
      handled = true;
      ret_val = S_OK;
    }
    return S_OK;
  }
  // The caption shows as itself.
  HRESULT STDMETHODCALLTYPE GetDisplayString(bool& handled, DISPID disp_id,
                                             std::wstring& display_name) override {
    handled = disp_id == kCaptionDispId;
    display_name = caption_;
    return S_OK;
  }

 private:
  Log& log_;
  bool eats_return_;
  std::wstring caption_;
};

// Counts the clicks of a button.
struct ClickCounter : ExtenderEvents {
  int clicks = 0;
  void Click() override { ++clicks; }
};

void PressKey(Form& form, UINT key) {
  PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
  Pump(form);
}

TEST(DemoControlTest, HostedTwiceItAnswersThroughTheInterceptedInterfaces) {
  const std::wstring kCaption = L"\u6BB5\u843D \u00E9\u00E8 \U0001F600";
  Log first_log, second_log;
  const auto& control_patch = interception_detail::ControlPatch();
  ClickCounter ok_clicks;
  std::map<std::wstring, PropertyBag> saved;
  {
    Form form;
    Extender& ok = form.AddButton(L"Command1", L"OK", {10, 200, 90, 230});
    ok.Events().Connect(&ok_clicks);
    form.SetDefaultButton(&ok);

    PropertyBag stored;
    const auto* bytes = reinterpret_cast<const uint8_t*>(kCaption.data());
    stored.WriteProperty(L"Caption", PropertyValue(ByteArray(bytes, bytes + kCaption.size() * 2)));
    auto first_control = std::make_unique<DemoControl>(first_log, true);
    auto second_control = std::make_unique<DemoControl>(second_log, false);
    DemoControl& first = *first_control;
    DemoControl& second = *second_control;
    form.AddControl(std::move(first_control), L"Demo1", {10, 10, 210, 90}, &stored);
    form.AddControl(std::move(second_control), L"Demo2", {10, 100, 210, 180});

    const Log expected_first = {L"Initialize", L"ReadProperties", L"Resize"};
    const Log expected_second = {L"Initialize", L"InitProperties", L"Resize"};
    EXPECT_EQ(first_log, expected_first) << SideBySide(expected_first, first_log);
    EXPECT_EQ(second_log, expected_second) << SideBySide(expected_second, second_log);
    EXPECT_EQ(first.Caption(), kCaption);
    EXPECT_EQ(second.Caption(), L"Demo2");
    // One patch of the shared table serves both controls.
    EXPECT_EQ(control_patch.RefCount(), 2);
    EXPECT_NE(control_patch.Table(), nullptr);
    EXPECT_EQ(AcceleratorCount(), 2);

    // The property browser's text comes from the companion.
    ComPtr<IPerPropertyBrowsing> browsing =
        ComPtr<IUnknown>(first.ControlUnknown())
            .Query<IPerPropertyBrowsing>(IID_IPerPropertyBrowsing);
    ASSERT_TRUE(browsing);
    BSTR text = nullptr;
    ASSERT_EQ(browsing->GetDisplayString(kCaptionDispId, &text), S_OK);
    EXPECT_EQ(std::wstring(text, SysStringLen(text)), kCaption);
    SysFreeString(text);

    form.Show();
    SetForegroundWindow(form.hWnd());
    Pump(form);
    form.FocusControl(ok);
    Pump(form);
    ASSERT_EQ(GetFocus(), ok.hWnd());

    // Tab order: the button, then Demo1.
    PressKey(form, VK_TAB);
    ASSERT_EQ(GetFocus(), first.ChildWindow());
    IOleInPlaceActiveObject* active = form.ActiveObject();
    ASSERT_NE(active, nullptr);
    ComPtr<IOleInPlaceActiveObject> own =
        ComPtr<IUnknown>(first.ControlUnknown())
            .Query<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
    EXPECT_NE(active, own.Get()) << "the wrapper, not the control's own interface, is active";

    PressKey(form, 'A');
    PressKey(form, VK_F2);
    PressKey(form, VK_RETURN);
    EXPECT_EQ(first.translated, (std::vector<WPARAM>{'A', VK_F2, VK_RETURN}));
    // F2 was the control's own; Return stays in the control instead of clicking OK.
    EXPECT_EQ(first.child_keys, (std::vector<WPARAM>{'A', VK_RETURN}));
    EXPECT_EQ(ok_clicks.clicks, 0);

    // Demo2 does not claim Return: the default button answers it.
    PressKey(form, VK_TAB);
    ASSERT_EQ(GetFocus(), second.ChildWindow());
    PressKey(form, VK_RETURN);
    EXPECT_EQ(second.translated, (std::vector<WPARAM>{VK_RETURN}));
    EXPECT_EQ(ok_clicks.clicks, 1);

    saved = form.SaveControls();
    EXPECT_EQ(first_log.back(), L"WriteProperties");
  }
  EXPECT_EQ(first_log.back(), L"Terminate");
  EXPECT_EQ(second_log.back(), L"Terminate");
  EXPECT_EQ(control_patch.RefCount(), 0);
  EXPECT_EQ(control_patch.Table(), nullptr);
  EXPECT_EQ(AcceleratorCount(), 0);

  // The caption went into the bag as UTF-16LE bytes and comes back unchanged.
  const ByteArray bytes = saved.at(L"Demo1").ReadProperty(L"Caption").ToBytes();
  EXPECT_EQ(bytes.size(), kCaption.size() * 2);
  EXPECT_EQ(StoredValueToText(PropertyValue(bytes)), kCaption);
}

}  // namespace
}  // namespace veltrin::controls
