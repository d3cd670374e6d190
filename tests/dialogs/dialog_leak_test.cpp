// 200 open-and-cancel cycles of each dialog, with hooks and the Help subclass in place, leave the
// GDI and USER object counts flat, no modeless keyboard hook and no subclass on the owner window.
// ShowHelp is not cycled: it opens no window of this process (the help viewer is a program of its
// own).
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <ostream>

#include "common/run_time_error.h"
#include "controls/base/modeless_dialogs.h"
#include "dialog_driver.h"
#include "dialogs/common_dialog.h"
#include "tests/support/gui_objects.h"

namespace veltrin::dialogs {
namespace {

constexpr int kCycles = 200;
constexpr int kWarmUpCycles = 2;  // the system loads and caches what a dialog needs once
constexpr DWORD kTolerance = 2;   // a leak of one object a cycle shows as 200

struct DialogKind {
  const char* name;
  int32_t flags;  // with the dialog's Help flag, so that the Help subclass comes and goes too
  // Shows the dialog and gets it cancelled; returns whether a dialog was shown and cancelled.
  std::function<bool(CommonDialog&)> cycle;
};

void PrintTo(const DialogKind& kind, std::ostream* out) {
  *out << kind.name;
}

// Runs a modal show method with Cancel pressed from inside its loop.
template <typename Show>
std::function<bool(CommonDialog&)> Modal(Show show) {
  return [show](CommonDialog& dialog) {
    testing::CancelWhenShown cancel;
    EXPECT_FALSE(show(dialog));
    return cancel.Ran();
  };
}

// Runs a modeless show method and closes the dialog as its Cancel button does.
template <typename Show>
std::function<bool(CommonDialog&)> Modeless(Show show) {
  return [show](CommonDialog& dialog) {
    const HWND window = show(dialog);
    if (window == nullptr) return false;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return !IsWindow(window);
  };
}

// Wine has no printer here: page setup shows its error box (cancelled like a dialog) and the
// class raises 28663 "A default printer does not exist.".
bool PageSetupCycle(CommonDialog& dialog) {
  testing::CancelWhenShown cancel;
  try {
    dialog.ShowPageSetup();
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), 28663);
  }
  return cancel.Ran();
}

const DialogKind kKinds[] = {
    {"open", OFN_SHOWHELP | OFN_EXPLORER, Modal([](CommonDialog& d) { return d.ShowOpen(); })},
    {"save", OFN_SHOWHELP, Modal([](CommonDialog& d) { return d.ShowSave(); })},
    {"color", CC_SHOWHELP, Modal([](CommonDialog& d) { return d.ShowColor(); })},
    {"font", CF_SHOWHELP, Modal([](CommonDialog& d) { return d.ShowFont(); })},
    {"print", PD_SHOWHELP, Modal([](CommonDialog& d) { return d.ShowPrinter(); })},
    {"page_setup", PSD_SHOWHELP, PageSetupCycle},
    {"folder_browser", BIF_STATUSTEXT,
     Modal([](CommonDialog& d) { return d.ShowFolderBrowser(); })},
    {"find", FR_SHOWHELP, Modeless([](CommonDialog& d) { return d.ShowFind(); })},
    {"replace", FR_SHOWHELP, Modeless([](CommonDialog& d) { return d.ShowReplace(); })},
};

class DialogLeaks : public ::testing::TestWithParam<DialogKind> {
 protected:
  // One cycle on a new instance, as a caller that creates one per command does.
  bool Cycle() {
    CommonDialog dialog;
    dialog.SetHookEvents(true);
    dialog.SetFlags(GetParam().flags);
    return GetParam().cycle(dialog);
  }

  testing::ActiveOwnerWindow owner_;
};

TEST_P(DialogLeaks, OpenAndCancelCyclesLeaveNothingBehind) {
  for (int i = 0; i < kWarmUpCycles; ++i) ASSERT_TRUE(Cycle());
  const veltrin::test::GuiObjectCounts before = veltrin::test::CurrentGuiObjectCounts();
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < kCycles; ++i) {
    ASSERT_TRUE(Cycle()) << "cycle " << i;
    ASSERT_EQ(controls::ModelessDialogHook(), nullptr) << "cycle " << i;
    ASSERT_EQ(veltrin::test::WindowPropertiesStartingWith(owner_.Get(), L"commdlg_"),
              std::vector<std::wstring>{})
        << "cycle " << i;
  }
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started);
  std::printf("%d %s cycles: %.1f s\n", kCycles, GetParam().name, seconds.count());
  const veltrin::test::GuiObjectCounts after = veltrin::test::CurrentGuiObjectCounts();
  EXPECT_GT(before.gdi, 0u) << "the count must see the process's objects";
  EXPECT_LE(after.gdi, before.gdi + kTolerance);
  EXPECT_LE(after.user, before.user + kTolerance);
  EXPECT_TRUE(controls::RegisteredModelessDialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(EachDialog, DialogLeaks, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltrin::dialogs
