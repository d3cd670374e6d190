// A text box on a form in design mode: its windows raise no events, some refused settings show a
// message instead of raising, and a casing change shows in its text at once.
#include "base/support/run_time_errors.h"
#include "tests/support/dialog_responder.h"
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

TEST_F(TextBoxTest, ADesignModeBoxRaisesNoEventsForWhatItsWindowReceives) {
  form.SetUserMode(false);
  TextBoxW& designed = AddBox(L"TextBoxW2", {10, 120, 310, 150});
  designed.Events().Connect(&events);
  designed.SetMouseTrack(true);
  designed.SetText(L"x");
  events.log.clear();
  const HWND edit = designed.hWnd();
  SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  SendMessageW(edit, WM_KEYDOWN, 'A', 1);
  SendMessageW(edit, WM_CHAR, 'a', 1);
  SendMessageW(edit, WM_KEYUP, 'A', 0xC0000001);
  ExpectLog({});
}

TEST_F(TextBoxTest, DesignModeShowsSomeRefusalsInAMessageAndRaisesTheOthers) {
  form.SetUserMode(false);
  TextBoxW& designed = AddBox(L"TextBoxW2", {10, 120, 310, 150});
  designed.SetMaxLength(4);
  designed.SetPasswordChar(L"*");
  test::DialogResponder responder;
  responder.Then(test::DialogResponder::Press(IDOK)).Then(test::DialogResponder::Press(IDOK));
  struct Row {
    std::function<void()> set;
    int error;  // 0: refused in a message box instead
  } const rows[] = {
      {[&] { designed.SetMaxLength(-1); }, 0},
      {[&] { designed.SetPasswordChar(L"ab"); }, 0},
      {[&] { designed.SetAlignment(3); }, 380},
      {[&] { designed.SetScrollBars(4); }, 380},
  };
  for (const Row& row : rows) EXPECT_EQ(test::ErrorOf(row.set), row.error);
  EXPECT_EQ(designed.MaxLength(), 4);
  EXPECT_EQ(designed.PasswordChar(), L"*");
  ASSERT_EQ(responder.Seen().size(), 2u);
  for (const auto& seen : responder.Seen()) {
    EXPECT_EQ(seen.caption, L"TextBoxW2");
    EXPECT_NE(seen.text.find(L"Invalid property value"), std::wstring::npos);
  }
}

TEST_F(TextBoxTest, CharacterCasingInDesignModeShowsTheStoredTextInTheNewCase) {
  form.SetUserMode(false);
  TextBoxW& designed = AddBox(L"TextBoxW2", {10, 120, 310, 150});
  designed.SetText(L"Mixed \u6587\u5B57");
  designed.SetCharacterCasing(1);
  EXPECT_EQ(designed.Text(), L"MIXED \u6587\u5B57");
  designed.SetCharacterCasing(2);
  EXPECT_EQ(designed.Text(), L"mixed \u6587\u5B57");
  EXPECT_EQ(GetWindowLongW(designed.hWnd(), GWL_STYLE) & (ES_UPPERCASE | ES_LOWERCASE),
            ES_LOWERCASE);
}

}  // namespace
}  // namespace veltrin::controls::textbox_test
