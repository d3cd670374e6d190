// ShowOpen and ShowSave, and the events of their hooks (FileHook).
#include <windows.h>
#include <commdlg.h>

#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_hooks.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/file_buffers.h"
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {
namespace {

constexpr int32_t kFileShowHelp = OFN_SHOWHELP;
constexpr int32_t kFileAddedFlags = OFN_ENABLEHOOK | OFN_ENABLESIZING;

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
  FileHook hook(*this, action, (flags_ & OFN_EXPLORER) != 0);
  if (hookEvents_) {
    record.Flags |= kFileAddedFlags;
    record.lpfnHook = hook.HookFor(record);
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

bool FileHook::RaiseValidate(HWND window, const OPENFILENAMEW& record) {
  const std::vector<wchar_t> text = CopyDialogFileText(record.lpstrFile, dialog_.maxFileSize_);
  const auto offset = static_cast<int16_t>(record.nFileOffset);
  bool cancel = false;
  if (offset >= 1) {
    const ChosenFile file = ReadChosenFile(text, offset);
    RaiseEvent([&](CommonDialogEvents& events) {
      events.FileValidate(file.fileName, file.fileTitle, offset, cancel, window);
    });
  }
  return cancel;
}

int32_t FileHook::RaiseShareViolation(HWND window, const wchar_t* name) {
  const std::vector<wchar_t> text = CopyDialogFileText(name, dialog_.maxFileSize_);
  const std::wstring fileName(text.data());
  int32_t result = 0;
  RaiseEvent(
      [&](CommonDialogEvents& events) { events.FileShareViolation(fileName, result, window); });
  return result;
}

LRESULT FileHook::OnHook(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (!explorer_) return OnOldStyle(window, message, lParam);
  if (message != WM_NOTIFY || lParam == 0) return 0;
  const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
  switch (notify->hdr.code) {
    case CDN_INITDONE:
      RaiseInitDialog(window);
      return 0;
    case CDN_FILEOK:
      if (notify->lpOFN != nullptr && RaiseValidate(window, *notify->lpOFN)) {
        SetWindowLongPtrW(window, DWLP_MSGRESULT, 1);
        return 1;
      }
      return 0;
    case CDN_SHAREVIOLATION: {
      const int32_t result = RaiseShareViolation(window, notify->pszFile);
      SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
      return result;
    }
    default:
      return 0;
  }
}

LRESULT FileHook::OnOldStyle(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    dialog_.Registered(dialog_.shareViolationMessage_, SHAREVISTRINGW);
    dialog_.Registered(dialog_.fileNameOkMessage_, FILEOKSTRINGW);
    RaiseInitDialog(window);
    return 0;
  }
  if (dialog_.shareViolationMessage_ != 0 && message == dialog_.shareViolationMessage_) {
    return RaiseShareViolation(window, reinterpret_cast<const wchar_t*>(lParam));
  }
  if (dialog_.fileNameOkMessage_ != 0 && message == dialog_.fileNameOkMessage_ && lParam != 0) {
    return RaiseValidate(window, *reinterpret_cast<const OPENFILENAMEW*>(lParam)) ? 1 : 0;
  }
  return 0;
}

}  // namespace veltrin::dialogs
