// The form against failures and focus moves: a close handler that fails keeps the form, a control
// whose set-up fails part way goes cleanly, the form's end reaches controls placed in frames, and
// a key that moves the focus between registered controls keeps their reference counts.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/host/host_fixture.h"
#include "common/run_time_error.h"
#include "controls/base/interception/vtable_handle.h"
#include "controls/base/interception/vtable_subclass.h"
#include "controls/base/native_control.h"

namespace veltrin::controls::host_test {
namespace {

bool QuitIsQueued() {
  MSG message{};
  return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

struct FailingClose : FormEvents {
  bool fail_query = false;
  void QueryUnload(bool&, UnloadMode) override {
    if (fail_query) throw RunTimeError(kInvalidPropertyValue);
  }
  void Unload(bool&) override {
    if (!fail_query) throw RunTimeError(kInvalidPropertyValue);
  }
};

TEST(FormLifetimeTest, AFailingCloseHandlerKeepsTheFormAndTheLoop) {
  Form form(L"Close", 100, 100);
  FailingClose events;
  form.Events().Connect(&events);
  form.Show();
  for (const bool fail_query : {true, false}) {
    events.fail_query = fail_query;
    SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form.hWnd())) << "fail_query " << fail_query;
    EXPECT_TRUE(IsWindowVisible(form.hWnd()));
    EXPECT_FALSE(QuitIsQueued());
  }
  EXPECT_THROW(form.Close(), RunTimeError) << "the program's own Close hears the error";
  form.Events().Connect(nullptr);
}

// Logs whether its window still exists when it is ended.
class WindowAtTerminate : public UserControl {
 public:
  explicit WindowAtTerminate(Log& log) : log_(log) {}

 protected:
  void Terminate() override {
    log_.push_back(IsWindow(hWnd()) ? L"Terminate with window" : L"Terminate without window");
  }

 private:
  Log& log_;
};

TEST(FormLifetimeTest, TheFormsEndEndsControlsPlacedInFramesFirst) {
  Log log;
  {
    Form form(L"Frames", 300, 200);
    // Added before the frame: the form's end reaches the frame first.
    Extender& inner =
        form.AddControl(std::make_unique<WindowAtTerminate>(log), L"Inner1", RECT{10, 60, 90, 90});
    Extender& frame = form.AddFrame(L"Frame1", L"Group", RECT{20, 20, 220, 160});
    form.PlaceInFrame(inner, frame);
  }
  EXPECT_EQ(log, (Log{L"Terminate with window"}));
}

// A native edit or list box whose F2 moves the focus to `next` while the key is translated.
class FocusPasser final : public NativeControl {
 public:
  explicit FocusPasser(const wchar_t* child_class) : child_class_(child_class) {}
  HWND next = nullptr;

 protected:
  const wchar_t* ChildClass() const override { return child_class_; }
  DWORD ChildStyle() const override { return WS_TABSTOP; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(bool& handled, HRESULT& result, UINT message,
                                                 WPARAM w_param, LPARAM, int32_t) override {
    if (message == WM_KEYDOWN && w_param == VK_F2 && next) {
      SetFocus(next);
      handled = true;
      result = S_OK;
    }
    return S_OK;
  }

 private:
  const wchar_t* child_class_;
};

TEST(FormLifetimeTest, AKeyThatMovesTheFocusKeepsBothControlsCounted) {
  for (const wchar_t* second_class : {L"EDIT", L"LISTBOX"}) {
    Form form(L"Focus", 300, 200);
    form.Show();
    auto owned_first = std::make_unique<FocusPasser>(L"EDIT");
    auto owned_second = std::make_unique<FocusPasser>(second_class);
    FocusPasser& first = *owned_first;
    FocusPasser& second = *owned_second;
    form.AddControl(std::move(owned_first), L"First", RECT{10, 10, 140, 40});
    form.AddControl(std::move(owned_second), L"Second", RECT{10, 60, 140, 160});
    first.next = second.Child().Handle();
    second.next = first.Child().Handle();
    SetFocus(first.Child().Handle());
    for (int i = 0; i < 3; ++i) PressKey(form, VK_F2);
    EXPECT_EQ(GetFocus(), second.Child().Handle());
    // The removals release what each control's object still holds; a count taken on one control
    // and released on the other frees the second while it is in use.
    form.RemoveControl(L"First");
    form.RemoveControl(L"Second");
    EXPECT_EQ(form.ControlCount(), 0U);
  }
}

BOOL WINAPI RefuseProtection(LPVOID, SIZE_T, DWORD, PDWORD) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

TEST(FormLifetimeTest, AControlWhoseRegistrationFailsGoesCleanly) {
  Form form(L"Refused", 300, 200);
  const int32_t accelerators = AcceleratorCount();
  const PageProtectFunction previous = SetPageProtectFunction(RefuseProtection);
  int number = 0;
  try {
    form.AddControl(std::make_unique<FocusPasser>(L"EDIT"), L"Box1", RECT{10, 10, 140, 40});
  } catch (const RunTimeError& error) {
    number = error.Number();
  }
  SetPageProtectFunction(previous);
  EXPECT_EQ(number, kInvalidProcedureCall) << "the creation error reaches the form's caller";
  EXPECT_EQ(form.ControlCount(), 0U);
  EXPECT_EQ(AcceleratorCount(), accelerators) << "the registrations made were undone";
  // The shared tables were left as they were: a control added now registers and works.
  Extender& added =
      form.AddControl(std::make_unique<FocusPasser>(L"EDIT"), L"Box1", RECT{10, 10, 140, 40});
  EXPECT_TRUE(IsWindow(added.hWnd()));
  EXPECT_EQ(AcceleratorCount(), accelerators + 1);
}

}  // namespace
}  // namespace veltrin::controls::host_test
