// The callback object of the extended print dialog: forwards WM_INITDIALOG to an ISubclass
// receiver (reference number -5) and answers S_FALSE to everything.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "controls/base/subclass.h"

namespace veltrin::controls {

// Returns a new callback object with a reference count of 0 (the dialog's QueryInterface takes
// the first reference, its last Release frees it); null when no task memory can be had. It holds
// no reference on `receiver`.
IUnknown* CreatePrintDialogCallback(ISubclass* receiver) noexcept;

}  // namespace veltrin::controls
