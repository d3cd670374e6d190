// The modeless-dialog hook: one hook for any number of dialogs, list order kept on removal, keys in
// a registered dialog taken and blanked, other windows' keys and all mouse messages left alone.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "controls/base/modeless_dialogs.h"
#include "base/support/test_window.h"

namespace veltrin::controls {
namespace {

using testing::DiscardMessages;
using testing::TestWindow;

constexpr WORD kFirstEdit = 101;
constexpr WORD kSecondEdit = 102;

// A DLGTEMPLATE in memory: a dialog with two tab-stop edit boxes. It stays hidden: a shown window
// makes Wine wait for the X server on every creation and destruction.
class DialogTemplate {
 public:
  DialogTemplate() {
    DLGTEMPLATE dialog{};
    dialog.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    dialog.cdit = 2;
    dialog.cx = 160;
    dialog.cy = 80;
    Append(&dialog, sizeof(dialog));
    AppendWords({0, 0});    // no menu, the default dialog class
    AppendString(L"Find");  // caption
    AppendWords({8});       // font size
    AppendString(L"MS Shell Dlg");
    AddEdit(kFirstEdit, 10);
    AddEdit(kSecondEdit, 30);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void AddEdit(WORD id, short y) {
    while (words_.size() % 2) words_.push_back(0);  // DWORD alignment
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    item.x = 10;
    item.y = y;
    item.cx = 100;
    item.cy = 14;
    item.id = id;
    Append(&item, sizeof(item));
    AppendWords({0xFFFF, 0x0081});  // the predefined Edit class
    AppendWords({0});               // no text
    AppendWords({0});               // no creation data
  }
  void Append(const void* data, size_t bytes) {
    const size_t at = words_.size();
    words_.resize(at + (bytes + 1) / 2);
    std::memcpy(words_.data() + at, data, bytes);
  }
  void AppendWords(std::initializer_list<WORD> words) { words_.insert(words_.end(), words); }
  void AppendString(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }

  std::vector<WORD> words_;  // the template, word by word (DWORD aligned as allocated)
};

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class ModelessDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), template_.Get(), nullptr,
                                         QuietDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    ASSERT_NE(main_.Handle(), nullptr);
    testing::PumpMessages();
  }
  void TearDown() override {
    while (!RegisteredModelessDialogs().empty()) UnregisterModelessDialog(dialog_);
    DestroyWindow(dialog_);
    DiscardMessages();
  }

  HWND Edit(WORD id) const { return GetDlgItem(dialog_, id); }

  // Posts a message and takes it off the queue the way a message loop does (through the hook).
  static MSG PostAndTake(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
    PostMessageW(window, message, w_param, l_param);
    MSG taken{};
    while (PeekMessageW(&taken, nullptr, 0, 0, PM_REMOVE)) {
      if (taken.hwnd == window || taken.message == 0) return taken;
    }
    ADD_FAILURE() << "the posted message never arrived";
    return taken;
  }

  DialogTemplate template_;
  HWND dialog_ = nullptr;
  TestWindow main_;
};

TEST_F(ModelessDialogTest, OneHookWhileAnyDialogIsRegistered) {
  EXPECT_EQ(ModelessDialogHook(), nullptr);
  RegisterModelessDialog(dialog_);
  const HHOOK hook = ModelessDialogHook();
  ASSERT_NE(hook, nullptr);
  RegisterModelessDialog(main_.Handle());
  EXPECT_EQ(ModelessDialogHook(), hook);

  UnregisterModelessDialog(main_.Handle());
  EXPECT_EQ(ModelessDialogHook(), hook);
  UnregisterModelessDialog(dialog_);
  EXPECT_EQ(ModelessDialogHook(), nullptr);
  EXPECT_TRUE(RegisteredModelessDialogs().empty());
  UnregisterModelessDialog(dialog_);  // nothing registered: nothing happens
  EXPECT_TRUE(RegisteredModelessDialogs().empty());
}

TEST_F(ModelessDialogTest, UnregisteringTheFirstOfThreeKeepsTheOrder) {
  TestWindow second;
  TestWindow third;
  RegisterModelessDialog(dialog_);
  RegisterModelessDialog(second.Handle());
  RegisterModelessDialog(third.Handle());

  UnregisterModelessDialog(dialog_);
  EXPECT_EQ(RegisteredModelessDialogs(), (std::vector<HWND>{second.Handle(), third.Handle()}));
  EXPECT_NE(ModelessDialogHook(), nullptr);
  UnregisterModelessDialog(third.Handle());
  UnregisterModelessDialog(second.Handle());
}

TEST_F(ModelessDialogTest, KeyInARegisteredDialogIsTakenAndBecomesANullMessage) {
  SetFocus(Edit(kFirstEdit));
  ASSERT_EQ(GetFocus(), Edit(kFirstEdit));

  // Not registered: the key reaches the loop unchanged and focus stays.
  MSG taken = PostAndTake(Edit(kFirstEdit), WM_KEYDOWN, VK_TAB, 0x000F0001);
  EXPECT_EQ(taken.message, UINT{WM_KEYDOWN});
  EXPECT_EQ(GetFocus(), Edit(kFirstEdit));

  RegisterModelessDialog(dialog_);
  taken = PostAndTake(Edit(kFirstEdit), WM_KEYDOWN, VK_TAB, 0x000F0001);
  EXPECT_EQ(taken.message, 0u);
  EXPECT_EQ(taken.wParam, 0u);
  EXPECT_EQ(taken.lParam, 0);
  EXPECT_EQ(GetFocus(), Edit(kSecondEdit)) << "the dialog moved the focus on Tab";
  UnregisterModelessDialog(dialog_);
}

TEST_F(ModelessDialogTest, OtherWindowsKeysAndAllMouseMessagesPassUnchanged) {
  RegisterModelessDialog(dialog_);

  MSG taken = PostAndTake(main_.Handle(), WM_KEYDOWN, 'A', 0x001E0001);
  EXPECT_EQ(taken.message, UINT{WM_KEYDOWN});
  EXPECT_EQ(taken.wParam, WPARAM{'A'});

  const UINT mouse[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MOUSEWHEEL};
  for (const UINT message : mouse) {
    taken = PostAndTake(Edit(kFirstEdit), message, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(taken.message, message) << "mouse message 0x" << std::hex << message;
  }
  UnregisterModelessDialog(dialog_);
}

}  // namespace
}  // namespace veltrin::controls
