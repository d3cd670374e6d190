// Dialog kinds not built yet: each raises 5 (invalid procedure call) instead of showing anything.
#include "common/run_time_error.h"
#include "dialogs/common_dialog.h"

namespace veltrin::dialogs {
namespace {
[[noreturn]] void NotBuilt() {
  throw RunTimeError(kInvalidProcedureCall);
}
}  // namespace

void CommonDialog::ShowHelp() {
  NotBuilt();
}
bool CommonDialog::ShowFolderBrowser() {
  NotBuilt();
}
HWND CommonDialog::ShowFind() {
  NotBuilt();
}
HWND CommonDialog::ShowReplace() {
  NotBuilt();
}
LRESULT CommonDialog::OnFolderBrowserCallback(HWND, UINT, LPARAM) {
  return 0;
}
LRESULT CommonDialog::OnFindReplaceMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam,
                                           LONG_PTR) {
  return controls::DefaultWindowProc(owner, message, wParam, lParam);
}
void CommonDialog::CloseFindReplace() noexcept {}

}  // namespace veltrin::dialogs
