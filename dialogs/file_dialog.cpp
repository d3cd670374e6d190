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
  std::vector<wchar_t> buffer = MakeFileBuffer(file_name_, max_file_size_);
  const HWND owner = DialogOwnerWindow();

  OPENFILENAMEW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.hInstance = GetModuleHandleW(nullptr);
  record.lpstrFilter = filter.c_str();
  record.nFilterIndex = static_cast<DWORD>(filter_index_);
  record.lpstrFile = buffer.data();
  record.nMaxFile = static_cast<DWORD>(max_file_size_);
  record.lpstrInitialDir = NullWhenEmpty(init_dir_);
  record.lpstrTitle = NullWhenEmpty(dialog_title_);
  record.Flags = static_cast<DWORD>(flags_);
  if (action == kActionSave) record.lpstrDefExt = default_ext_.c_str();
  FileHook hook(*this, action, (flags_ & OFN_EXPLORER) != 0);
  if (hook_events_) {
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
    file_name_ = std::move(file.file_name);
    file_title_ = std::move(file.file_title);
  }
  filter_index_ = static_cast<int32_t>(record.nFilterIndex);
  file_offset_ = offset;
  return true;
}

bool FileHook::RaiseValidate(HWND window, const OPENFILENAMEW& record) {
  const std::vector<wchar_t> text = CopyDialogFileText(record.lpstrFile, dialog_.max_file_size_);
  const auto offset = static_cast<int16_t>(record.nFileOffset);
  bool cancel = false;
  if (offset >= 1) {
    const ChosenFile file = ReadChosenFile(text, offset);
    RaiseEvent([&](CommonDialogEvents& events) {
      events.FileValidate(file.file_name, file.file_title, offset, cancel, window);
    });
  }
  return cancel;
}

int32_t FileHook::RaiseShareViolation(HWND window, const wchar_t* name) {
  const std::vector<wchar_t> text = CopyDialogFileText(name, dialog_.max_file_size_);
  const std::wstring file_name(text.data());
  int32_t result = 0;
  RaiseEvent(
      [&](CommonDialogEvents& events) { events.FileShareViolation(file_name, result, window); });
  return result;
}

LRESULT FileHook::OnHook(HWND window, UINT message, WPARAM, LPARAM l_param) {
  if (!explorer_) return OnOldStyle(window, message, l_param);
  if (message != WM_NOTIFY || l_param == 0) return 0;
  const auto* notify = reinterpret_cast<const OFNOTIFYW*>(l_param);
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

LRESULT FileHook::OnOldStyle(HWND window, UINT message, LPARAM l_param) {
  if (message == WM_INITDIALOG) {
    dialog_.Registered(dialog_.share_violation_message_, SHAREVISTRINGW);
    dialog_.Registered(dialog_.file_name_ok_message_, FILEOKSTRINGW);
    RaiseInitDialog(window);
    return 0;
  }
  if (dialog_.share_violation_message_ != 0 && message == dialog_.share_violation_message_) {
    return RaiseShareViolation(window, reinterpret_cast<const wchar_t*>(l_param));
  }
  if (dialog_.file_name_ok_message_ != 0 && message == dialog_.file_name_ok_message_ &&
      l_param != 0) {
    return RaiseValidate(window, *reinterpret_cast<const OPENFILENAMEW*>(l_param)) ? 1 : 0;
  }
  return 0;
}

}  // namespace veltrin::dialogs
