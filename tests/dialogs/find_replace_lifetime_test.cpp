// The find and replace dialogs against the heap and their owner: long texts stay inside the
// buffers, a modal dialog's Help does not take the find dialog's commands away, and an owner
// destroyed under an open dialog leaves the instance able to open a new one.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <memory>

#include "controls/base/modeless_dialogs.h"
#include "dialog_driver.h"
#include "dialogs/common_dialog.h"
#include "event_log.h"
#include "tests/support/gui_objects.h"

namespace veltrin::dialogs {
namespace {

using testing::kFindWhatEdit;
using testing::kReplaceAllButton;
using testing::kReplaceButton;
using testing::kReplaceWithEdit;

class TextEvents : public testing::EventLog {
 public:
  explicit TextEvents(const CommonDialog& dialog) : dialog_(dialog) {}
  void FindNext() override { Log(L"FindNext " + dialog_.FindWhat()); }

 private:
  const CommonDialog& dialog_;
};

void Command(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// `text` cut to what the dialog passed on: Windows reads the declared buffer length as bytes and
// passes half as many characters as Wine, which reads it as characters.
void ExpectPassedOn(const std::wstring& passed, const std::wstring& typed) {
  EXPECT_GE(passed.size(), 127U);
  EXPECT_EQ(passed, typed.substr(0, passed.size()));
}

class FindReplaceLifetimeTest : public ::testing::Test {
 protected:
  testing::ActiveOwnerWindow owner_;
};

TEST_F(FindReplaceLifetimeTest, TextsOf255CharactersStayInsideTheBuffers) {
  const std::wstring find(255, L'f');
  const std::wstring replace(255, L'r');
  for (const bool replacing : {false, true}) {
    // On the heap: the checking allocator's guard bytes follow the object.
    auto dialog = std::make_unique<CommonDialog>();
    const HWND window = replacing ? dialog->ShowReplace() : dialog->ShowFind();
    ASSERT_NE(window, nullptr);
    SetDlgItemTextW(window, kFindWhatEdit, find.c_str());
    if (replacing) SetDlgItemTextW(window, kReplaceWithEdit, replace.c_str());
    // Find Next passes the search text on, Replace both texts.
    Command(window, replacing ? kReplaceButton : IDOK);
    ExpectPassedOn(dialog->FindWhat(), find);
    if (replacing) ExpectPassedOn(dialog->ReplaceWith(), replace);
    dialog.reset();
  }
}

TEST_F(FindReplaceLifetimeTest, AModalDialogsHelpLeavesTheFindDialogWorking) {
  CommonDialog dialog;
  TextEvents events(dialog);
  dialog.SetEventSink(&events);
  const HWND find = dialog.ShowFind();
  ASSERT_NE(find, nullptr);
  // Hidden so that the driver cancels the colour dialog, not this one.
  ShowWindow(find, SW_HIDE);
  dialog.SetFlags(CC_SHOWHELP);
  {
    testing::DialogDriver driver(testing::PressCancel());
    EXPECT_FALSE(dialog.ShowColor());
    EXPECT_TRUE(driver.Ran());
  }
  ShowWindow(find, SW_SHOWNA);
  SetDlgItemTextW(find, kFindWhatEdit, L"foo");
  Command(find, IDOK);
  events.Expect({L"FindNext foo"});
  Command(find, IDCANCEL);
  EXPECT_FALSE(IsWindow(find));
  EXPECT_NE(dialog.ShowFind(), nullptr) << "a new dialog opens after the first closed";
}

TEST(FindReplaceLifetime, AnOwnerDestroyedUnderTheDialogLeavesNothingBehind) {
  CommonDialog dialog;
  HWND find = nullptr;
  {
    testing::ActiveOwnerWindow owner;
    find = dialog.ShowFind();
    ASSERT_NE(find, nullptr);
  }
  EXPECT_FALSE(IsWindow(find));
  EXPECT_EQ(controls::ModelessDialogHook(), nullptr) << "no hook left on a dead dialog";
  testing::ActiveOwnerWindow owner;
  EXPECT_NE(dialog.ShowFind(), nullptr);
}

// Deletes the dialog it watches from inside whichever event comes first.
class DeletingEvents : public CommonDialogEvents {
 public:
  explicit DeletingEvents(CommonDialogPtr& dialog) : dialog_(dialog) {}
  std::wstring deleted_in;
  void InitDialog(int16_t, HWND) override { Delete(L"InitDialog"); }
  void Help(bool& handled, int16_t, HWND) override {
    handled = true;
    Delete(L"Help");
  }
  void FindNext() override { Delete(L"FindNext"); }
  void Replace() override { Delete(L"Replace"); }
  void ReplaceAll() override { Delete(L"ReplaceAll"); }

 private:
  void Delete(const wchar_t* event) {
    if (!dialog_) return;
    deleted_in = event;
    dialog_.reset();
  }
  CommonDialogPtr& dialog_;
};

TEST_F(FindReplaceLifetimeTest, DeletingTheDialogInsideItsOwnEvents) {
  struct Case {
    const wchar_t* event;
    bool replace;
    int32_t flags;
    bool hook;
    int button;  // pressed on the open dialog; 0 when the event comes while it opens
  };
  const Case cases[] = {
      {L"FindNext", false, 0, false, IDOK},
      {L"Replace", true, 0, false, kReplaceButton},
      {L"ReplaceAll", true, 0, false, kReplaceAllButton},
      {L"Help", false, FR_SHOWHELP, false, pshHelp},
      {L"InitDialog", true, 0, true, 0},
  };
  for (const Case& row : cases) {
    CommonDialogPtr dialog(new CommonDialog);
    DeletingEvents events(dialog);
    dialog->SetEventSink(&events);
    dialog->SetFlags(row.flags);
    dialog->SetHookEvents(row.hook);
    const HWND window = row.replace ? dialog->ShowReplace() : dialog->ShowFind();
    if (row.button != 0) {
      ASSERT_NE(window, nullptr);
      SetDlgItemTextW(window, kFindWhatEdit, L"foo");  // commands need a text
      Command(window, row.button);
    }
    EXPECT_EQ(events.deleted_in, row.event);
    EXPECT_EQ(dialog, nullptr);
    EXPECT_FALSE(IsWindow(window)) << "the deleted dialog closed its window";
    EXPECT_EQ(controls::ModelessDialogHook(), nullptr);
    EXPECT_EQ(veltrin::test::WindowPropertiesStartingWith(owner_.Get(), L"commdlg_"),
              std::vector<std::wstring>{});
  }
  // A modal dialog: the deletion waits until ShowColor has returned.
  CommonDialogPtr dialog(new CommonDialog);
  DeletingEvents events(dialog);
  dialog->SetEventSink(&events);
  dialog->SetHookEvents(true);
  testing::DialogDriver driver(testing::PressCancel());
  EXPECT_FALSE(dialog->ShowColor());
  EXPECT_EQ(events.deleted_in, L"InitDialog");
  EXPECT_EQ(dialog, nullptr);
}

}  // namespace
}  // namespace veltrin::dialogs
