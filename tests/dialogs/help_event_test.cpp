// The Help button of each dialog raises Help through the owner-window subclass, with the dialog's
// number; the focus the handler moves comes back, and the subclass is gone after the dialog.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "dialog_driver.h"
#include "dialogs/common_dialog.h"
#include "event_log.h"
#include "tests/support/gui_objects.h"

namespace veltrin::dialogs {
namespace {

// Logs Help; moves the focus to `elsewhere` as a handler that shows a window of its own would.
class HelpEvents : public testing::EventLog {
 public:
  void Help(bool& handled, int16_t action, HWND dialog) override {
    Log(L"Help " + std::to_wstring(action));
    last_dialog = dialog;
    if (elsewhere != nullptr) SetFocus(elsewhere);
    handled = handle;
  }
  HWND elsewhere = nullptr;
  bool handle = true;
  HWND last_dialog = nullptr;
};

HWND FocusOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(thread, &info);
  return info.hwndFocus;
}

// Presses Help, records whether the focus stayed where it was, then presses Cancel.
std::function<void(HWND)> PressHelpThenCancel(DWORD thread, bool& focus_kept) {
  return [thread, &focus_kept](HWND dialog) {
    const HWND before = FocusOf(thread);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(pshHelp, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, pshHelp)));
    focus_kept = before != nullptr && FocusOf(thread) == before;
    testing::PressButton(dialog, IDCANCEL);
  };
}

class HelpEventTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Not the owner: a modal dialog disables its owner, which can then not take the focus.
    elsewhere_ = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 0, 200,
                                 100, nullptr, nullptr, nullptr, nullptr);
    owner_ = std::make_unique<testing::ActiveOwnerWindow>();
    events_.elsewhere = elsewhere_;
  }
  void TearDown() override {
    owner_.reset();
    DestroyWindow(elsewhere_);
  }

  HWND elsewhere_ = nullptr;
  std::unique_ptr<testing::ActiveOwnerWindow> owner_;
  HelpEvents events_;
};

// Wine's file and print dialogs send no help message from their Help buttons; the colour and
// font dialogs send it with no dialog window, the find dialog with its own.
TEST_F(HelpEventTest, ColorAndFontRaiseHelpWithTheirNumbers) {
  struct Row {
    int32_t flags;
    bool (CommonDialog::*show)();
  };
  for (const Row& row :
       {Row{CC_SHOWHELP, &CommonDialog::ShowColor}, Row{CF_SHOWHELP, &CommonDialog::ShowFont}}) {
    CommonDialog dialog;
    dialog.SetEventSink(&events_);
    dialog.SetFlags(row.flags);
    bool focus_kept = false;
    {
      testing::DialogDriver driver(PressHelpThenCancel(GetCurrentThreadId(), focus_kept));
      EXPECT_FALSE((dialog.*row.show)());
    }
    EXPECT_TRUE(focus_kept) << "the focus the handler took is given back";
    EXPECT_EQ(veltrin::test::WindowPropertiesStartingWith(owner_->Get(), L"commdlg_"),
              std::vector<std::wstring>{});
  }
  events_.Expect({L"Help 3", L"Help 4"});
}

TEST_F(HelpEventTest, UnhandledHelpLeavesTheDialogWorking) {
  CommonDialog dialog;
  dialog.SetEventSink(&events_);
  dialog.SetFlags(CC_SHOWHELP);
  events_.handle = false;
  bool focus_kept = false;
  {
    testing::DialogDriver driver(PressHelpThenCancel(GetCurrentThreadId(), focus_kept));
    EXPECT_FALSE(dialog.ShowColor());
    EXPECT_TRUE(driver.Ran());
  }
  events_.Expect({L"Help 3"});
}

TEST_F(HelpEventTest, FindDialogRaisesHelpWithItsWindow) {
  CommonDialog dialog;
  dialog.SetEventSink(&events_);
  dialog.SetFlags(FR_SHOWHELP);
  const HWND find = dialog.ShowFind();
  ASSERT_NE(find, nullptr);
  SendMessageW(find, WM_COMMAND, MAKEWPARAM(pshHelp, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(find, pshHelp)));
  events_.Expect({L"Help 9"});
  EXPECT_EQ(events_.last_dialog, find);
  SendMessageW(find, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(veltrin::test::WindowPropertiesStartingWith(owner_->Get(), L"commdlg_"),
            std::vector<std::wstring>{});
}

}  // namespace
}  // namespace veltrin::dialogs
