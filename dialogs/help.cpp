// ShowHelp: WinHelp with the help properties.
#include <windows.h>

#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"

namespace veltrin::dialogs {

void CommonDialog::ShowHelp() {
  if (help_command_ == 0) return;
  ULONG_PTR data = 0;
  switch (help_command_) {
    case HELP_CONTEXT:
    case HELP_SETCONTENTS:
    case HELP_CONTEXTPOPUP:
      data = static_cast<ULONG_PTR>(static_cast<DWORD>(help_context_));
      break;
    case HELP_KEY:
    case HELP_COMMAND:
    case HELP_PARTIALKEY:
      data = reinterpret_cast<ULONG_PTR>(help_key_.c_str());
      break;
    default:
      break;
  }
  if (!WinHelpW(nullptr, help_file_.c_str(), static_cast<UINT>(help_command_), data)) {
    throw RunTimeError(kHelpFailedNumber, u"Call to windows help failed.");
  }
}

}  // namespace veltrin::dialogs
