// A user control built the way the library's controls are, hosted twice on a form with a button:
// its companions answer the host's shared interfaces through the patched tables and the
// accelerator wrapper, and keys reach it through the form's message loop.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/host/host_fixture.h"
#include "controls/base/host/extender.h"
#include "controls/base/host/form.h"
#include "controls/base/host/user_control.h"
#include "controls/base/interception/companion_interfaces.h"
#include "controls/base/interception/interception_state.h"
#include "controls/base/interception/vtable_handle.h"
#include "controls/base/subclass.h"
#include "controls/base/text_persistence.h"

namespace veltrin::controls {
namespace {

using host_test::Log;
using host_test::Pump;
using host_test::SideBySide;

constexpr DISPID kCaptionDispId = 1;

// The demonstration control: an EDIT child filling its container, a persisted Unicode caption,
// and the three companions. Its companions and subclass receivers live as long as it does.
class DemoControl final : public UserControl,
                          public SubclassReceiver,
                          public IOleControlVB,
                          public IOleInPlaceActiveObjectVB,
                          public IPerPropertyBrowsingVB {
 public:
  DemoControl(Log& log, bool eats_return) : log_(log), eats_return_(eats_return) {}

  HWND Child() const { return child_; }
  const std::wstring& Caption() const { return caption_; }
  // Keys the companion saw, and keys the child window received.
  std::vector<WPARAM> translated;
  std::vector<WPARAM> child_keys;

  // One IUnknown for the companions and the subclass receiver: the control's own lifetime rules.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    return QueryCompanion(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

 protected:
  void Initialize() override {
    log_.push_back(L"Initialize");
    // The order the library's controls use, undone in the same order in Terminate.
    EnableInterception(ControlUnknown(), InterceptionKind::kAccelerators);
    EnableInterception(ControlUnknown(), InterceptionKind::kControlInfo);
    EnableInterception(ControlUnknown(), InterceptionKind::kPropertyBrowsing);
  }
  void InitProperties() override {
    log_.push_back(L"InitProperties");
    caption_ = Ambient().DisplayName();
    CreateChild();
  }
  void ReadProperties(PropertyBag& bag) override {
    log_.push_back(L"ReadProperties");
    caption_ = StoredValueToText(bag.ReadProperty(L"Caption", PropertyValue()));
    CreateChild();
  }
  void Resize() override {
    log_.push_back(L"Resize");
    if (child_) MoveWindow(child_, 0, 0, ClientWidth(), ClientHeight(), TRUE);
  }
  void WriteProperties(PropertyBag& bag) override {
    log_.push_back(L"WriteProperties");
    bag.WriteProperty(L"Caption", TextToStoredValue(caption_), PropertyValue());
  }
  void Terminate() override {
    log_.push_back(L"Terminate");
    if (child_ && GetFocus() == child_) DeactivateAccelerators();
    DisableInterception(ControlUnknown(), InterceptionKind::kAccelerators);
    DisableInterception(ControlUnknown(), InterceptionKind::kControlInfo);
    DisableInterception(ControlUnknown(), InterceptionKind::kPropertyBrowsing);
    UnsubclassWindow(hWnd());
    if (child_) {
      UnsubclassWindow(child_);
      DestroyWindow(child_);
      child_ = nullptr;
    }
  }

  HRESULT QueryCompanion(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IOleControlVB))
      *object = static_cast<IOleControlVB*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceActiveObjectVB))
      *object = static_cast<IOleInPlaceActiveObjectVB*>(this);
    else if (IsEqualIID(iid, IID_IPerPropertyBrowsingVB))
      *object = static_cast<IPerPropertyBrowsingVB*>(this);
    else if (IsEqualIID(iid, kIidSubclass) || IsEqualIID(iid, IID_IUnknown))
      *object = static_cast<ISubclass*>(this);
    else
      return E_NOINTERFACE;
    return S_OK;
  }

  // ISubclass: 1 the child, 2 the container.
  LRESULT STDMETHODCALLTYPE Message(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                    DWORD_PTR ref_data) override {
    if (ref_data == 2 && message == WM_SETFOCUS && child_) {
      SetFocus(child_);
      return 0;
    }
    if (ref_data == 1) {
      switch (message) {
        case WM_SETFOCUS:
          ActivateAccelerators(ControlUnknown());
          NotifyControlInfoChanged(ControlUnknown(), true);
          break;
        case WM_KILLFOCUS:
          DeactivateAccelerators();
          break;
        case WM_KEYDOWN:
          child_keys.push_back(w_param);
          break;
      }
    }
    return DefaultWindowProc(window, message, w_param, l_param);
  }

  // IOleControlVB: Return stays in the control when it says so.
  HRESULT STDMETHODCALLTYPE GetControlInfo(bool& handled, int32_t& accel_count, HACCEL&,
                                           int32_t& flags) override {
    handled = true;
    accel_count = 0;
    flags = eats_return_ ? CTRLINFO_EATS_RETURN : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnMnemonic(bool&, UINT, WPARAM, LPARAM, int32_t) override {
    return S_OK;
  }

  // IOleInPlaceActiveObjectVB: F2 is the control's own command; other keys go on.
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

  // IPerPropertyBrowsingVB: the caption shows as itself.
  HRESULT STDMETHODCALLTYPE GetDisplayString(bool& handled, DISPID disp_id,
                                             std::wstring& display_name) override {
    handled = disp_id == kCaptionDispId;
    display_name = caption_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(bool&, DISPID, std::vector<std::wstring>&,
                                                 std::vector<int32_t>&) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(bool&, DISPID, int32_t, VARIANT*) override {
    return S_OK;
  }

 private:
  void CreateChild() {
    child_ = CreateWindowExW(0, L"EDIT", caption_.c_str(), WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0,
                             0, ClientWidth(), ClientHeight(), hWnd(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SubclassWindow(child_, this, 1);
    SubclassWindow(hWnd(), this, 2);
  }

  Log& log_;
  bool eats_return_;
  std::wstring caption_;
  HWND child_ = nullptr;
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
    ASSERT_EQ(GetFocus(), first.Child());
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
    ASSERT_EQ(GetFocus(), second.Child());
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
