// Find and replace as modeless dialogs (commands become events through the owner window), the
// folder browser's cancel, and help.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include "common/run_time_error.h"
#include "controls/base/modeless_dialogs.h"
#include "dialog_driver.h"
#include "dialogs/common_dialog.h"
#include "event_log.h"

namespace veltrin::dialogs {
namespace {

constexpr int kFindWhatEdit = 0x480;
constexpr int kReplaceWithEdit = 0x481;
constexpr int kReplaceButton = 0x400;
constexpr int kReplaceAllButton = 0x401;

// Logs the commands with the texts the properties hold when each is raised.
class CommandEvents : public testing::EventLog {
 public:
  explicit CommandEvents(const CommonDialog& dialog) : dialog_(dialog) {}
  void InitDialog(int16_t action, HWND) override { Log(L"InitDialog " + std::to_wstring(action)); }
  void FindNext() override { Log(L"FindNext " + dialog_.FindWhat()); }
  void Replace() override { Log(L"Replace " + dialog_.FindWhat() + L">" + dialog_.ReplaceWith()); }
  void ReplaceAll() override {
    Log(L"ReplaceAll " + dialog_.FindWhat() + L">" + dialog_.ReplaceWith());
  }

 private:
  const CommonDialog& dialog_;
};

// A visible, active top-level window that owns the dialogs.
class OwnedDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                             200, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(owner_);
  }
  void TearDown() override { DestroyWindow(owner_); }
  HWND owner_ = nullptr;
};

void Command(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

TEST_F(OwnedDialogTest, ReplaceAllAloneWithTextsUpdatedFirst) {
  CommonDialog dialog;
  CommandEvents events(dialog);
  dialog.SetEventSink(&events);
  dialog.SetHookEvents(true);
  dialog.SetFindWhat(L"old");
  HWND replace = dialog.ShowReplace();
  ASSERT_NE(replace, nullptr);
  EXPECT_EQ(dialog.ShowFind(), nullptr) << "one dialog per instance";
  EXPECT_EQ(controls::RegisteredModelessDialogs(), std::vector<HWND>{replace});
  // Wine's find dialog passes its texts through the ANSI code page, so they are plain ASCII here.
  SetDlgItemTextW(replace, kFindWhatEdit, L"foo");
  SetDlgItemTextW(replace, kReplaceWithEdit, L"bar");
  Command(replace, kReplaceAllButton);
  Command(replace, kReplaceButton);
  Command(replace, IDOK);
  events.Expect({L"InitDialog 10", L"ReplaceAll foo>bar", L"Replace foo>bar", L"FindNext foo"});
  EXPECT_EQ(dialog.Flags() & FR_ENABLEHOOK, 0);

  Command(replace, IDCANCEL);
  EXPECT_EQ(controls::ModelessDialogHook(), nullptr) << "closing unregisters the dialog";
  EXPECT_EQ(
      GetPropW(owner_, (L"commdlg_FindReplace_10_" +
                        std::to_wstring(reinterpret_cast<UINT_PTR>(replace)) + L"SubclassInit")
                           .c_str()),
      nullptr)
      << "the owner subclass is gone";
  HWND find = dialog.ShowFind();
  EXPECT_NE(find, nullptr) << "a new dialog opens after the first closed";
  events.Clear();
}

TEST_F(OwnedDialogTest, DestructionClosesAnOpenFindDialog) {
  HWND find = nullptr;
  {
    CommonDialog dialog;
    dialog.SetFindWhat(std::wstring(300, L'x'));  // longer than the buffer: cut, never overrun
    find = dialog.ShowFind();
    ASSERT_NE(find, nullptr);
    wchar_t text[300] = {};
    GetDlgItemTextW(find, kFindWhatEdit, text, 300);
    EXPECT_EQ(std::wstring(text), std::wstring(127, L'x'));
  }
  EXPECT_FALSE(IsWindow(find));
  EXPECT_EQ(controls::ModelessDialogHook(), nullptr);
}

TEST(FolderBrowser, CancelChangesNothingOrRaises32755) {
  for (bool cancelError : {false, true}) {
    CommonDialog dialog;
    dialog.SetCancelError(cancelError);
    dialog.SetFileName(L"C:\\keep\\");
    testing::DialogDriver driver(testing::PressCancel());
    int number = 0;
    try {
      EXPECT_FALSE(dialog.ShowFolderBrowser());
    } catch (const RunTimeError& error) {
      number = error.Number();
    }
    EXPECT_TRUE(driver.Ran());
    EXPECT_EQ(number, cancelError ? 32755 : 0);
    EXPECT_EQ(dialog.FileName(), L"C:\\keep\\");
  }
}

TEST(FolderBrowser, ChoosingAFolderAddsTheBackslash) {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  CommonDialog dialog;
  dialog.SetInitDir(windows);  // selected by the browser callback
  testing::DialogDriver driver([](HWND window) { testing::PressButton(window, IDOK); });
  ASSERT_TRUE(dialog.ShowFolderBrowser());
  EXPECT_EQ(dialog.FileName(), std::wstring(windows) + L"\\");
  EXPECT_EQ(dialog.FileOffset(), 0);
  EXPECT_EQ(dialog.FileTitle(), L"");
}

TEST(Help, CommandZeroDoesNothing) {
  CommonDialog dialog;
  dialog.SetHelpFile(L"missing.hlp");
  EXPECT_NO_THROW(dialog.ShowHelp());
}

}  // namespace
}  // namespace veltrin::dialogs
