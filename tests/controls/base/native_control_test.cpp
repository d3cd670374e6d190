// NativeControl on a form: the container reflects the child's notifications and colour requests
// to the control's handlers, and a style change re-creates the child only when it must, keeping
// what the control says it keeps.
#include "controls/base/native_control.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/host/host_fixture.h"
#include "controls/base/host/form.h"

namespace veltrin::controls {
namespace {

class UpperCaseBox final : public NativeControl {
 public:
  bool upper_case = false;
  bool scroll_bar = false;
  std::vector<WORD> reflected_codes;
  int color_requests = 0;

  using NativeControl::UpdateChildStyle;

 protected:
  const wchar_t* ChildClass() const override { return L"EDIT"; }
  DWORD ChildStyle() const override {
    return WS_TABSTOP | (upper_case ? ES_UPPERCASE : 0) | (scroll_bar ? WS_VSCROLL : 0);
  }
  void SaveChildState() override { saved_ = Child().GetText(); }
  void RestoreChildState() override { Child().SetText(saved_); }

  MessageResult OnCommand(WORD, WORD code, HWND control) override {
    if (control == Child().Handle()) reflected_codes.push_back(code);
    return kNotHandled;
  }
  MessageResult OnCtlColor(CtlColorKind kind, HDC, HWND control) override {
    if (kind == CtlColorKind::kEdit && control == Child().Handle()) ++color_requests;
    return kNotHandled;  // the container's BackColor answers
  }

 private:
  std::wstring saved_;
};

TEST(NativeControlTest, ReflectsTheChildsMessagesAndRecreatesItForAStyle) {
  Form form(L"Native", 300, 200);
  form.Show();
  auto owned = std::make_unique<UpperCaseBox>();
  UpperCaseBox& box = *owned;
  form.AddControl(std::move(owned), L"Box1", RECT{10, 10, 210, 40});
  const Window first = box.Child();
  ASSERT_TRUE(first.Exists());
  EXPECT_EQ(first.GetClientRect().right, box.ClientWidth()) << "the child fills its container";

  // Notifications and colour requests of the child reach the control through the container.
  first.SetText(L"abc");
  EXPECT_EQ(box.reflected_codes, (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
  const LRESULT brush =
      SendMessageW(box.hWnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(GetDC(first.Handle())),
                   reinterpret_cast<LPARAM>(first.Handle()));
  EXPECT_EQ(box.color_requests, 1);
  EXPECT_NE(brush, 0) << "left alone, the container answered with its brush";

  // A live style bit changes on the child itself.
  box.scroll_bar = true;
  box.UpdateChildStyle();
  EXPECT_EQ(box.Child(), first);
  EXPECT_TRUE(first.Style() & WS_VSCROLL);

  // ES_UPPERCASE needs a new child: the text and the focus survive.
  form.FocusControl(*form.Find(L"Box1"));
  ASSERT_EQ(GetFocus(), first.Handle());
  box.upper_case = true;
  box.UpdateChildStyle();
  const Window second = box.Child();
  EXPECT_FALSE(first.Exists());
  ASSERT_TRUE(second.Exists());
  EXPECT_TRUE(second.Style() & ES_UPPERCASE);
  EXPECT_EQ(second.GetText(), L"ABC") << "the kept text, through the new style";
  EXPECT_EQ(GetFocus(), second.Handle());
  box.reflected_codes.clear();
  second.Send(EM_SETSEL, 3, 3);
  SendMessageW(second.Handle(), WM_CHAR, L'd', 1);
  EXPECT_EQ(second.GetText(), L"ABCD");
  EXPECT_EQ(box.reflected_codes, (std::vector<WORD>{EN_UPDATE, EN_CHANGE}))
      << "the new child reports through the container too";
}

}  // namespace
}  // namespace veltrin::controls
