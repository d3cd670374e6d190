// Find and replace as modeless dialogs (commands become events through the owner window), the
// folder browser's cancel, and help.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "common/run_time_error.h"
#include "controls/base/modeless_dialogs.h"
#include "dialog_driver.h"
#include "dialogs/common_dialog.h"
#include "event_log.h"

namespace veltrin::dialogs {
namespace {

using testing::kFindWhatEdit;
using testing::kReplaceAllButton;
using testing::kReplaceButton;
using testing::kReplaceWithEdit;

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
  testing::ActiveOwnerWindow owner_;
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
  EXPECT_EQ(GetPropW(owner_.Get(),
                     (L"commdlg_FindReplace_10_" +
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

  dialog.SetInitDir(L"C:\\");
  testing::DialogDriver onDrive([](HWND window) { testing::PressButton(window, IDOK); });
  ASSERT_TRUE(dialog.ShowFolderBrowser());
  EXPECT_EQ(dialog.FileName(), L"C:\\") << "a drive keeps its one backslash";
}

// Selects the top item of the browser's tree (the root folder) and presses OK.
void ChooseTheRoot(HWND browser) {
  const HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
  const auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
  testing::PressButton(browser, IDOK);
}

std::wstring SelectedItemText(HWND tree) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (item.hItem != nullptr) SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

std::wstring WithBackslash(std::wstring path) {
  if (path.back() != L'\\') path.push_back(L'\\');
  return path;
}

TEST(FolderBrowser, RootFolderOfEveryAcceptedTypeStartsTheTree) {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  wchar_t desktop[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
  const std::pair<controls::PropertyValue, std::wstring> rows[] = {
      {controls::PropertyValue(), WithBackslash(desktop)},
      {int32_t{CSIDL_WINDOWS}, WithBackslash(windows)},
      {int16_t{CSIDL_WINDOWS}, WithBackslash(windows)},
      {uint8_t{CSIDL_WINDOWS}, WithBackslash(windows)},
      {CSIDL_WINDOWS + 0.4, WithBackslash(windows)},  // converted to a whole number
      {float{CSIDL_WINDOWS}, WithBackslash(windows)},
      {std::wstring(windows), WithBackslash(windows)},
  };
  for (const auto& [root, expected] : rows) {
    CommonDialog dialog;
    dialog.SetRootFolder(root);
    testing::DialogDriver driver(ChooseTheRoot);
    ASSERT_TRUE(dialog.ShowFolderBrowser()) << expected;
    EXPECT_EQ(dialog.FileName(), expected);
  }
}

// A file of the system folder: Wine's browser does not always find a file that the process made
// after it had browsed elsewhere.
TEST(FolderBrowser, ChoosingAFileGivesItsTitleAndOffset) {
  wchar_t windows[MAX_PATH] = {};
  const std::wstring folder(windows, GetWindowsDirectoryW(windows, MAX_PATH));
  const std::wstring title = L"win.ini";
  const std::wstring file = folder + L"\\" + title;
  ASSERT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  CommonDialog dialog;
  dialog.SetFlags(BIF_BROWSEINCLUDEFILES);
  dialog.SetInitDir(file);  // selected by the browser callback
  testing::DialogDriver driver([title](HWND window) {
    // The browser selects the path after it has filled its tree: wait for the file's item.
    const HWND tree = FindWindowExW(window, nullptr, WC_TREEVIEWW, nullptr);
    for (int i = 0; i < 100 && SelectedItemText(tree) != title; ++i) Sleep(20);
    testing::PressButton(window, IDOK);
  });
  ASSERT_TRUE(dialog.ShowFolderBrowser());
  EXPECT_EQ(dialog.FileName(), file);
  EXPECT_EQ(dialog.FileOffset(), static_cast<int16_t>(folder.size() + 1));
  EXPECT_EQ(dialog.FileTitle(), title);
}

TEST(Help, CommandZeroDoesNothing) {
  CommonDialog dialog;
  dialog.SetHelpFile(L"missing.hlp");
  EXPECT_NO_THROW(dialog.ShowHelp());
}

}  // namespace
}  // namespace veltrin::dialogs
