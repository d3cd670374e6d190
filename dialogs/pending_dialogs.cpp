// Dialog kinds not built yet: each raises 5 (invalid procedure call) instead of showing anything.
#include "common/run_time_error.h"
#include "dialogs/common_dialog.h"

namespace veltrin::dialogs {
namespace {
[[noreturn]] void NotBuilt() {
  throw RunTimeError(kInvalidProcedureCall);
}
}  // namespace

bool CommonDialog::ShowColor() {
  NotBuilt();
}
bool CommonDialog::ShowFont() {
  NotBuilt();
}
bool CommonDialog::ShowPrinter() {
  NotBuilt();
}
int32_t CommonDialog::ShowPrinterEx() {
  NotBuilt();
}
void CommonDialog::ShowHelp() {
  NotBuilt();
}
bool CommonDialog::ShowPageSetup() {
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
LRESULT CommonDialog::OnColorHook(HWND, UINT, LPARAM) {
  return 0;
}
LRESULT CommonDialog::OnFontHook(HWND, UINT, WPARAM) {
  return 0;
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
