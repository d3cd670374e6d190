// A click on a list that does not have the focus: the focused control validates first, and a
// cancelled validation keeps the focus where it was.
#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

using host_test::ValidateLog;

TEST(ListBoxFocusTest, AClickedListTakesTheFocusOnlyWhenTheFocusedControlValidates) {
  ListBoxHost host;
  Form& form = host.GetForm();
  auto second_control = std::make_unique<ListBoxW>();
  ListBoxW& second = *second_control;
  Extender& second_extender =
      form.AddControl(std::move(second_control), L"List2", {220, 10, 400, 170});
  Log validated;
  ValidateLog validate(validated);
  form.ControlAt(0).Events().Connect(&validate);
  SetFocus(host.List().ListHandle());
  const HWND list = second.ListHandle();
  const auto activate = [&](LPARAM l_param) {
    return SendMessageW(list, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(form.hWnd()), l_param);
  };
  const LPARAM left_click = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);

  validate.cancel_next = true;
  EXPECT_EQ(activate(left_click), MA_ACTIVATEANDEAT);
  EXPECT_EQ(GetFocus(), host.List().ListHandle()) << "a cancelled validation keeps the focus";
  EXPECT_EQ(activate(MAKELPARAM(HTBORDER, WM_LBUTTONDOWN)), MA_ACTIVATEANDEAT);

  second_extender.SetCausesValidation(false);
  EXPECT_EQ(activate(left_click), MA_NOACTIVATE);
  EXPECT_EQ(GetFocus(), list) << "a list that causes no validation takes the focus at once";

  SetFocus(host.List().ListHandle());
  second_extender.SetCausesValidation(true);
  validate.cancel_next = false;
  EXPECT_EQ(activate(left_click), MA_NOACTIVATE);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(validated, (Log{L"Validate", L"Validate"}));
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
