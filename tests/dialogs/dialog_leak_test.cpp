// Open-and-cancel cycles leave no GDI or USER objects and no hook behind. Each cycle shows a real
// dialog under Wine (about a second), so the loop runs 10 cycles per dialog kind, not 200.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <functional>

#include "controls/base/modeless_dialogs.h"
#include "dialog_driver.h"
#include "dialogs/common_dialog.h"

namespace veltrin::dialogs {
namespace {

constexpr int kCycles = 10;

struct GuiCounts {
  DWORD gdi;
  DWORD user;
};

GuiCounts Counts() {
  return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

TEST(DialogLeaks, OpenAndCancelCyclesKeepResourcesFlat) {
  const std::pair<const char*, std::function<void(CommonDialog&)>> kinds[] = {
      {"open",
       [](CommonDialog& d) {
         d.SetFlags(OFN_SHOWHELP);  // the Help subclass comes and goes too
         d.ShowOpen();
       }},
      {"color", [](CommonDialog& d) { d.ShowColor(); }},
      {"font", [](CommonDialog& d) { d.ShowFont(); }},
  };
  for (const auto& [name, show] : kinds) {
    // One warm-up cycle lets the system load and cache what the dialog needs once.
    {
      CommonDialog dialog;
      dialog.SetHookEvents(true);
      testing::DialogDriver driver(testing::PressCancel());
      show(dialog);
    }
    const GuiCounts before = Counts();
    for (int i = 0; i < kCycles; ++i) {
      CommonDialog dialog;
      dialog.SetHookEvents(true);
      testing::DialogDriver driver(testing::PressCancel());
      show(dialog);
      ASSERT_TRUE(driver.Ran()) << name;
    }
    const GuiCounts after = Counts();
    EXPECT_LE(after.gdi, before.gdi + 2) << name;
    EXPECT_LE(after.user, before.user + 2) << name;
    EXPECT_EQ(controls::ModelessDialogHook(), nullptr) << name;
  }
}

}  // namespace
}  // namespace veltrin::dialogs
