// The system's print dialog functions, called through one table so that a test can stand in for
// the printer that its system lacks and see the records the class hands over.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace veltrin::dialogs {

struct PrintDialogFunctions {
  BOOL(WINAPI* print_dlg)(LPPRINTDLGW) = PrintDlgW;
  HRESULT(WINAPI* print_dlg_ex)(LPPRINTDLGEXW) = PrintDlgExW;
  BOOL(WINAPI* page_setup_dlg)(LPPAGESETUPDLGW) = PageSetupDlgW;
};

// Returns the table ShowPrinter, ShowPrinterEx and ShowPageSetup call through; it starts with the
// system's functions. Whoever replaces an entry puts the old one back.
PrintDialogFunctions& PrintDialogs() noexcept;

}  // namespace veltrin::dialogs
