// ShowOpen and ShowSave, and the events of their hooks.
#include <windows.h>
#include <commdlg.h>

#include "controls/base/common_dialog_hooks.h"
#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/file_buffers.h"
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {
namespace {

constexpr int32_t kFileShowHelp = OFN_SHOWHELP;
constexpr int32_t kFileAddedFlags = OFN_ENABLEHOOK | OFN_ENABLESIZING;

LPOFNHOOKPROC FileHook(DialogAction action, bool explorer) {
  if (action == kActionOpen) {
    return explorer ? controls::OpenHookProc : controls::OpenOldStyleHookProc;
  }
  return explorer ? controls::SaveHookProc : controls::SaveOldStyleHookProc;
}

const wchar_t* NullWhenEmpty(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

bool CommonDialog::ShowOpen() {
  return ShowFileDialog(kActionOpen);
}

bool CommonDialog::ShowSave() {
  return ShowFileDialog(kActionSave);
}

bool CommonDialog::ShowFileDialog(DialogAction action) {
  const controls::CallScope call(*this);  // an event may delete the dialog meanwhile
  const std::wstring filter = ConvertFilter(filter_);
  std::vector<wchar_t> buffer = MakeFileBuffer(fileName_, maxFileSize_);
  const HWND owner = DialogOwnerWindow();

  OPENFILENAMEW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.hInstance = GetModuleHandleW(nullptr);
  record.lpstrFilter = filter.c_str();
  record.nFilterIndex = static_cast<DWORD>(filterIndex_);
  record.lpstrFile = buffer.data();
  record.nMaxFile = static_cast<DWORD>(maxFileSize_);
  record.lpstrInitialDir = NullWhenEmpty(initDir_);
  record.lpstrTitle = NullWhenEmpty(dialogTitle_);
  record.Flags = static_cast<DWORD>(flags_);
  if (action == kActionSave) record.lpstrDefExt = defaultExt_.c_str();
  if (hookEvents_) {
    record.Flags |= kFileAddedFlags;
    record.lCustData = reinterpret_cast<LPARAM>(static_cast<controls::ISubclass*>(this));
    record.lpfnHook = FileHook(action, (flags_ & OFN_EXPLORER) != 0);
  }

  const BOOL chosen = WithHelpSubclass(owner, kFileShowHelp, action, [&] {
    return action == kActionOpen ? GetOpenFileNameW(&record) : GetSaveFileNameW(&record);
  });
  if (!chosen) {
    const DialogKind kind = action == kActionOpen ? DialogKind::kOpen : DialogKind::kSave;
    const DWORD code = DialogExtendedError(kind);
    if (code == 0) return FailCancelled();
    throw DialogError(kind, code);
  }

  flags_ = static_cast<int32_t>(record.Flags & ~static_cast<DWORD>(kFileAddedFlags));
  const auto offset = static_cast<int16_t>(record.nFileOffset);
  if (offset > 0) {
    ChosenFile file = ReadChosenFile(buffer, offset);
    fileName_ = std::move(file.fileName);
    fileTitle_ = std::move(file.fileTitle);
  }
  filterIndex_ = static_cast<int32_t>(record.nFilterIndex);
  fileOffset_ = offset;
  return true;
}

LRESULT CommonDialog::OnFileHook(DialogAction action, bool explorer, HWND dialog, UINT message,
                                 LPARAM lParam) {
  const auto raiseValidate = [&](const OPENFILENAMEW& record) {
    const std::vector<wchar_t> text = CopyDialogFileText(record.lpstrFile, maxFileSize_);
    const auto offset = static_cast<int16_t>(record.nFileOffset);
    bool cancel = false;
    if (offset >= 1) {
      const ChosenFile file = ReadChosenFile(text, offset);
      RaiseKeepingFocus([&] {
        if (events_) events_->FileValidate(file.fileName, file.fileTitle, offset, cancel, dialog);
      });
    }
    return cancel;
  };
  const auto raiseShareViolation = [&](const wchar_t* name) {
    const std::vector<wchar_t> text = CopyDialogFileText(name, maxFileSize_);
    const std::wstring fileName(text.data());
    int32_t result = 0;
    RaiseKeepingFocus([&] {
      if (events_) events_->FileShareViolation(fileName, result, dialog);
    });
    return result;
  };

  if (explorer) {
    if (message != WM_NOTIFY || lParam == 0) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
    switch (notify->hdr.code) {
      case CDN_INITDONE:
        RaiseKeepingFocus([&] {
          if (events_) events_->InitDialog(action, dialog);
        });
        return 0;
      case CDN_FILEOK:
        if (notify->lpOFN != nullptr && raiseValidate(*notify->lpOFN)) {
          SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1);
          return 1;
        }
        return 0;
      case CDN_SHAREVIOLATION: {
        const int32_t result = raiseShareViolation(notify->pszFile);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
        return result;
      }
      default:
        return 0;
    }
  }

  if (message == WM_INITDIALOG) {
    Registered(shareViolationMessage_, SHAREVISTRINGW);
    Registered(fileNameOkMessage_, FILEOKSTRINGW);
    RaiseKeepingFocus([&] {
      if (events_) events_->InitDialog(action, dialog);
    });
    return 0;
  }
  if (shareViolationMessage_ != 0 && message == shareViolationMessage_) {
    return raiseShareViolation(reinterpret_cast<const wchar_t*>(lParam));
  }
  if (fileNameOkMessage_ != 0 && message == fileNameOkMessage_ && lParam != 0) {
    return raiseValidate(*reinterpret_cast<const OPENFILENAMEW*>(lParam)) ? 1 : 0;
  }
  return 0;
}

}  // namespace veltrin::dialogs
