// The system's print dialog functions, called through one table so that a test can stand in for
// the printer that its system lacks and see the records the class hands over.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace veltrin::dialogs {

struct PrintDialogFunctions {
  BOOL(WINAPI* printDlg)(LPPRINTDLGW) = PrintDlgW;
  HRESULT(WINAPI* printDlgEx)(LPPRINTDLGEXW) = PrintDlgExW;
  BOOL(WINAPI* pageSetupDlg)(LPPAGESETUPDLGW) = PageSetupDlgW;
};

// Returns the table ShowPrinter, ShowPrinterEx and ShowPageSetup call through; it starts with the
// system's functions. Whoever replaces an entry puts the old one back.
PrintDialogFunctions& PrintDialogs() noexcept;

}  // namespace veltrin::dialogs
