// Control services on live windows: shell library count, border and right-to-left styles, keyboard
// cues, frame refresh, mouse-leave tracking, the pending-character peek and IME contexts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "controls/base/control_services.h"
#include "controls/base/subclass.h"
#include "base/support/test_window.h"

namespace veltrin::controls {
namespace {

using testing::TestWindow;

// Records the messages of one window (through the subclassing core) with their parameters.
class MessageRecorder : public SubclassReceiver {
 public:
  struct Entry {
    UINT message;
    WPARAM w_param;
  };
  explicit MessageRecorder(HWND window) : window_(window) {
    SubclassWindow(window, this, 1, L"Rec");
  }
  ~MessageRecorder() { UnsubclassWindow(window_, L"Rec"); }

  LRESULT STDMETHODCALLTYPE Message(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                    DWORD_PTR) override {
    entries_.push_back({message, w_param});
    return DefaultWindowProc(window, message, w_param, l_param);
  }
  std::vector<Entry> Find(UINT message) const {
    std::vector<Entry> found;
    for (const Entry& entry : entries_) {
      if (entry.message == message) found.push_back(entry);
    }
    return found;
  }

 private:
  HWND window_;
  std::vector<Entry> entries_;
};

DWORD StyleOf(HWND window) {
  return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}
DWORD ExStyleOf(HWND window) {
  return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
}

TEST(ShellLibrary, LoadedFromFirstUserToLast) {
  ASSERT_EQ(ShellLibraryUsers(), 0);
  LoadShellLibrary();
  const HMODULE shell = ShellLibraryHandle();
  ASSERT_NE(shell, nullptr);
  LoadShellLibrary();
  EXPECT_EQ(ShellLibraryHandle(), shell);
  EXPECT_EQ(ShellLibraryUsers(), 2);
  ReleaseShellLibrary();
  EXPECT_EQ(ShellLibraryHandle(), shell);
  ReleaseShellLibrary();
  EXPECT_EQ(ShellLibraryHandle(), nullptr);
  EXPECT_EQ(ShellLibraryUsers(), 0);
  // An unmatched release does not leave a debt that would swallow the next load.
  ReleaseShellLibrary();
  EXPECT_EQ(ShellLibraryUsers(), 0);
  {
    const ShellLibraryUse use;
    EXPECT_EQ(ShellLibraryUsers(), 1);
    EXPECT_NE(ShellLibraryHandle(), nullptr);
  }
  EXPECT_EQ(ShellLibraryUsers(), 0);
  EXPECT_EQ(ShellLibraryHandle(), nullptr);
}

TEST(BorderStyles, TableRows) {
  const struct {
    int border;
    DWORD style, ex_style;
  } rows[] = {
      {0, 0, 0},
      {1, WS_BORDER, 0},
      {2, 0, WS_EX_STATICEDGE},
      {3, 0, WS_EX_CLIENTEDGE},
      {4, WS_DLGFRAME, WS_EX_WINDOWEDGE},
      {5, 0, 0},
  };
  for (const auto& row : rows) {
    DWORD style = WS_CHILD;
    DWORD ex_style = WS_EX_TOOLWINDOW;
    ApplyBorderStyle(style, ex_style, row.border);
    EXPECT_EQ(style, WS_CHILD | row.style) << "border " << row.border;
    EXPECT_EQ(ex_style, WS_EX_TOOLWINDOW | row.ex_style) << "border " << row.border;
  }
}

TEST(BorderStyles, ChangingALiveWindowReplacesTheOldBorderAndRedrawsTheFrame) {
  TestWindow parent;
  TestWindow child(parent.Handle(), WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE);
  MessageRecorder recorder(child.Handle());

  ChangeBorderStyle(child.Handle(), kBorderDialogFrame);
  EXPECT_FALSE(ExStyleOf(child.Handle()) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(ExStyleOf(child.Handle()) & WS_EX_WINDOWEDGE);
  EXPECT_TRUE(StyleOf(child.Handle()) & WS_DLGFRAME);
  EXPECT_TRUE(StyleOf(child.Handle()) & WS_TABSTOP) << "other bits stay";
  EXPECT_FALSE(recorder.Find(WM_NCCALCSIZE).empty()) << "the frame was recomputed";

  ChangeBorderStyle(child.Handle(), kBorderNone);
  EXPECT_FALSE(StyleOf(child.Handle()) & (WS_BORDER | WS_DLGFRAME));
  EXPECT_FALSE(ExStyleOf(child.Handle()) &
               (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE));
}

TEST(RightToLeft, ResolvesByMode) {
  const struct {
    bool value, host;
    int mode;
    bool expected;
  } rows[] = {
      {false, true, 0, false}, {false, true, 1, false}, {false, true, 2, false},
      {true, false, 0, true},  {true, false, 1, false}, {true, true, 1, true},
      {true, false, 9, true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ResolveRightToLeft(row.value, row.host, row.mode), row.expected)
        << row.value << " " << row.host << " mode " << row.mode;
  }
}

TEST(RightToLeft, LocaleModesFollowTheLanguagesLayout) {
  EXPECT_TRUE(
      LocaleReadsRightToLeft(MAKELCID(MAKELANGID(LANG_ARABIC, SUBLANG_ARABIC_SAUDI_ARABIA), 0)));
  EXPECT_TRUE(LocaleReadsRightToLeft(MAKELCID(MAKELANGID(LANG_HEBREW, SUBLANG_DEFAULT), 0)));
  EXPECT_FALSE(LocaleReadsRightToLeft(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), 0)));
  EXPECT_FALSE(
      LocaleReadsRightToLeft(MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 0)));

  const bool system_rtl = LocaleReadsRightToLeft(MAKELCID(GetSystemDefaultLangID(), 0));
  EXPECT_EQ(ResolveRightToLeft(true, false, kRtlSystemLocale), system_rtl);
  if (!system_rtl) {
    EXPECT_FALSE(ResolveRightToLeft(true, true, kRtlSystemLocale));
  }
  EXPECT_EQ(ResolveRightToLeft(true, false, kRtlUserLocale),
            LocaleReadsRightToLeft(MAKELCID(GetUserDefaultLangID(), 0)));
}

TEST(RightToLeft, StylesOfAPlainWindow) {
  TestWindow parent;
  TestWindow child(parent.Handle(), 0, WS_EX_CLIENTEDGE | WS_EX_RIGHT);
  constexpr DWORD kRtlBits = WS_EX_LAYOUTRTL | WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;

  ApplyRightToLeftStyles(child.Handle(), WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_TOPMOST);
  EXPECT_EQ(ExStyleOf(child.Handle()) & kRtlBits, DWORD{WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR});
  EXPECT_TRUE(ExStyleOf(child.Handle()) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(ExStyleOf(child.Handle()) & WS_EX_TOPMOST) << "only the four RTL bits are taken";

  ApplyRightToLeftStyles(child.Handle(), 0);
  EXPECT_EQ(ExStyleOf(child.Handle()) & kRtlBits, 0u);
}

TEST(RightToLeft, TooltipKeepsOnlyTheLayoutBitAndFlagsItsTools) {
  InitCommonControls();
  TestWindow owner;
  const HWND tooltip =
      CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                      owner.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(tooltip, nullptr);
  wchar_t text[] = L"tip";
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = owner.Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(owner.Handle());
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));

  auto tool_flags = [&] {
    wchar_t buffer[80] = {};
    TTTOOLINFOW read{};
    read.cbSize = TTTOOLINFOW_V2_SIZE;
    read.lpszText = buffer;
    SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&read));
    return read.uFlags;
  };

  ApplyRightToLeftStyles(tooltip, WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
  EXPECT_EQ(ExStyleOf(tooltip) & (WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT), 0u);
  EXPECT_TRUE(tool_flags() & TTF_RTLREADING);

  ApplyRightToLeftStyles(tooltip, WS_EX_LAYOUTRTL | WS_EX_RTLREADING);
  EXPECT_TRUE(ExStyleOf(tooltip) & WS_EX_LAYOUTRTL);
  EXPECT_FALSE(tool_flags() & TTF_RTLREADING) << "a mirrored layout reads right to left already";
  DestroyWindow(tooltip);
}

TEST(WindowInput, KeyboardCuesAndFrameRefreshReachTheWindow) {
  TestWindow window;
  MessageRecorder recorder(window.Handle());
  ShowKeyboardCues(window.Handle());
  const auto cues = recorder.Find(WM_UPDATEUISTATE);
  ASSERT_EQ(cues.size(), 1u);
  EXPECT_EQ(LOWORD(cues[0].w_param), UIS_CLEAR);
  EXPECT_EQ(HIWORD(cues[0].w_param), UISF_HIDEFOCUS | UISF_HIDEACCEL);

  RECT before{};
  GetWindowRect(window.Handle(), &before);
  RefreshFrame(window.Handle());
  EXPECT_FALSE(recorder.Find(WM_NCCALCSIZE).empty());
  RECT after{};
  GetWindowRect(window.Handle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(WindowInput, PeekSeesAPendingCharacterAndLeavesIt) {
  TestWindow window;
  TestWindow other;
  testing::DiscardMessages();
  EXPECT_EQ(PeekCharMessage(window.Handle()), 0u);
  PostMessageW(window.Handle(), WM_KEYDOWN, 'X', 0);
  PostMessageW(window.Handle(), WM_CHAR, L'中', 0);
  EXPECT_EQ(PeekCharMessage(window.Handle()), WPARAM{L'中'});
  EXPECT_EQ(PeekCharMessage(window.Handle()), WPARAM{L'中'}) << "still queued";
  EXPECT_EQ(PeekCharMessage(other.Handle()), 0u);
  testing::DiscardMessages();
}

// Wine under a virtual display never reports the leave (nor shows the tracking through TME_QUERY),
// so only the request itself is checked here.
TEST(WindowInput, MouseLeaveTrackingIsAccepted) {
  TestWindow window(nullptr, WS_VISIBLE);
  EXPECT_TRUE(TrackMouseLeave(window.Handle()));
  TRACKMOUSEEVENT cancel{};
  cancel.cbSize = sizeof(cancel);
  cancel.dwFlags = TME_LEAVE | TME_CANCEL;
  cancel.hwndTrack = window.Handle();
  TrackMouseEvent(&cancel);
  testing::DiscardMessages(window.Handle());
}

TEST(Ime, ModeEffectsOnConversion) {
  constexpr DWORD N = IME_CMODE_NATIVE, K = IME_CMODE_KATAKANA, F = IME_CMODE_FULLSHAPE;
  constexpr DWORD kOther = IME_CMODE_ROMAN;  // never touched
  const struct {
    int mode;
    DWORD before;
    int open;  // -1 unchanged, 0 close, 1 open
    DWORD after;
  } rows[] = {
      {1, N | kOther, 1, N | kOther},
      {2, N | K, 0, N | K},
      {4, K | kOther, 1, N | F | kOther},
      {5, 0, 1, N | K | F},
      {6, F, 1, N | K},
      {7, N | K, 1, F},
      {8, N | K | F | kOther, 1, kOther},
      {9, K, 1, N | K | F},
      {10, F | K, 1, N | K},
      {11, N, -1, N},
      {0, F, -1, F},
  };
  for (const auto& row : rows) {
    const ImeModeEffect effect = ImeModeEffectFor(row.mode, row.before);
    EXPECT_EQ(effect.conversion, row.after) << "mode " << row.mode;
    EXPECT_EQ(effect.open ? int{*effect.open} : -1, row.open) << "mode " << row.mode;
  }
}

TEST(Ime, ContextIsCreatedOnceAndDestroyed) {
  TestWindow window;
  UniqueImeContext context;
  CreateImeContext(window.Handle(), context);
  ASSERT_TRUE(context) << "no input context from this system";
  const HIMC held = context.Get();
  CreateImeContext(window.Handle(), context);
  EXPECT_EQ(context.Get(), held) << "a held context is kept";
  HIMC associated = ImmGetContext(window.Handle());
  EXPECT_EQ(associated, held);
  ImmReleaseContext(window.Handle(), associated);

  DestroyImeContext(window.Handle(), context);
  EXPECT_FALSE(context);
  associated = ImmGetContext(window.Handle());
  EXPECT_NE(associated, held);
  if (associated) ImmReleaseContext(window.Handle(), associated);
  DestroyImeContext(window.Handle(), context);  // nothing held: nothing happens
}

TEST(Ime, DisabledDetachesAndOnReattachesAndOpens) {
  if (!ImmIsIME(GetKeyboardLayout(0))) {
    // The layout is not an input method: ApplyImeMode must leave the window alone.
    TestWindow window;
    UniqueImeContext context;
    CreateImeContext(window.Handle(), context);
    ApplyImeMode(window.Handle(), context.Get(), kImeDisabled);
    HIMC still = ImmGetContext(window.Handle());
    EXPECT_EQ(still, context.Get());
    if (still) ImmReleaseContext(window.Handle(), still);
    DestroyImeContext(window.Handle(), context);
    GTEST_SKIP() << "keyboard layout is not an IME: only the do-nothing path can be checked";
  }
  TestWindow window;
  UniqueImeContext context;
  CreateImeContext(window.Handle(), context);
  ASSERT_TRUE(context);

  ApplyImeMode(window.Handle(), context.Get(), kImeDisabled);
  EXPECT_EQ(ImmGetContext(window.Handle()), nullptr) << "mode 3 detaches every context";

  ApplyImeMode(window.Handle(), context.Get(), kImeOn);
  HIMC current = ImmGetContext(window.Handle());
  EXPECT_EQ(current, context.Get());
  if (current) {
    EXPECT_TRUE(ImmGetOpenStatus(current));
    ImmReleaseContext(window.Handle(), current);
  }

  ApplyImeMode(window.Handle(), context.Get(), kImeOff);
  current = ImmGetContext(window.Handle());
  if (current) {
    EXPECT_FALSE(ImmGetOpenStatus(current));
    ImmReleaseContext(window.Handle(), current);
  }
  ApplyImeMode(window.Handle(), nullptr, kImeDisabled);  // no context: nothing happens
  current = ImmGetContext(window.Handle());
  EXPECT_NE(current, nullptr);
  if (current) ImmReleaseContext(window.Handle(), current);
  DestroyImeContext(window.Handle(), context);
}

}  // namespace
}  // namespace veltrin::controls
