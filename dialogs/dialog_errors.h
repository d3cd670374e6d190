// The numbered errors of the common dialogs: each dialog failure code maps to its number and fixed
// English text.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/run_time_error.h"

namespace veltrin::dialogs {

inline constexpr int kCancelErrorNumber = 32755;
inline constexpr int kHelpFailedNumber = 32751;

// Which row set of the error table applies.
enum class DialogKind {
  kOpen,
  kSave,
  kColor,
  kFont,
  kPrint,
  kPageSetup,
  kPrintEx,
  kFind,
  kReplace,
  kFolderBrowser,
  kHelp
};

// Returns the extended error of the dialog of `kind` that just failed, 0 for a cancel. A code of
// another dialog family is taken as 0: some systems (Wine) leave the code of an earlier failed
// dialog in place when a later one is cancelled, and a cancel must not read as that failure.
DWORD DialogExtendedError(DialogKind kind);

// Returns the error for a failed dialog of `kind` with the extended error `code` (never 0): the
// table's number and text, or the code itself with "Unexpected error.".
RunTimeError DialogError(DialogKind kind, DWORD code);

// Returns 32755 "Cancel was selected.".
RunTimeError CancelSelectedError();

// Returns the extended print dialog's error for a failing status.
RunTimeError PrintExError(HRESULT status);

}  // namespace veltrin::dialogs
