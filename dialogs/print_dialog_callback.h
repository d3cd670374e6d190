// The callback object of the extended print dialog: hands WM_INITDIALOG to the print dialog's hook
// handler and answers S_FALSE to everything.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "controls/base/window/message_handler.h"

namespace veltrin::dialogs {

// Returns a new callback object with a reference count of 0 (the dialog's QueryInterface takes
// the first reference, its last Release frees it); null when no task memory can be had. `hook`
// must outlive the dialog.
IUnknown* CreatePrintDialogCallback(controls::MessageHandler& hook) noexcept;

}  // namespace veltrin::dialogs
