// The modeless find and replace dialogs: opened once per instance, their commands raised as
// events through the owner-window subclass, keyboard navigation through the modeless hook.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>

#include "controls/base/common_dialog_hooks.h"
#include "controls/base/modeless_dialogs.h"
#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {
namespace {

// Copies `text` into `buffer`, cut so that the final NUL always fits.
template <size_t N>
void FillBuffer(std::array<wchar_t, N>& buffer, const std::wstring& text) {
  buffer.fill(L'\0');
  std::copy_n(text.begin(), std::min(text.size(), N - 1), buffer.begin());
}

std::wstring OwnerSubclassKey(DialogAction action, HWND dialog) {
  return L"commdlg_FindReplace_" + std::to_wstring(action) + L"_" +
         std::to_wstring(reinterpret_cast<UINT_PTR>(dialog));
}

}  // namespace

HWND CommonDialog::ShowFind() {
  return ShowFindReplace(kActionFind);
}

HWND CommonDialog::ShowReplace() {
  return ShowFindReplace(kActionReplace);
}

HWND CommonDialog::ShowFindReplace(DialogAction action) {
  if (findReplaceDialog_ != nullptr) return nullptr;
  const HWND owner = DialogOwnerWindow();
  findReplace_ = FINDREPLACEW{};
  findReplace_.lStructSize = sizeof(findReplace_);
  findReplace_.hwndOwner = owner;
  findReplace_.Flags = static_cast<DWORD>(flags_);
  if (hookEvents_) {
    findReplace_.Flags |= FR_ENABLEHOOK;
    findReplace_.lpfnHook =
        action == kActionFind ? controls::FindHookProc : controls::ReplaceHookProc;
    findReplace_.lCustData = reinterpret_cast<LPARAM>(static_cast<controls::ISubclass*>(this));
  }
  FillBuffer(findBuffer_, findWhat_);
  findReplace_.lpstrFindWhat = findBuffer_.data();
  findReplace_.wFindWhatLen = sizeof(findBuffer_);
  if (action == kActionReplace) {
    FillBuffer(replaceBuffer_, replaceWith_);
    findReplace_.lpstrReplaceWith = replaceBuffer_.data();
    findReplace_.wReplaceWithLen = sizeof(replaceBuffer_);
  }
  if ((flags_ & FR_SHOWHELP) != 0) Registered(helpMessage_, HELPMSGSTRINGW);
  Registered(findReplaceMessage_, FINDMSGSTRINGW);
  const HWND dialog =
      action == kActionFind ? FindTextW(&findReplace_) : ReplaceTextW(&findReplace_);
  if (dialog == nullptr) {
    const DialogKind kind = action == kActionFind ? DialogKind::kFind : DialogKind::kReplace;
    throw DialogError(kind, DialogExtendedError(kind));
  }
  findReplaceDialog_ = dialog;
  findReplaceAction_ = action;
  findReplace_.lCustData = reinterpret_cast<LPARAM>(dialog);
  controls::SubclassWindow(owner, this, static_cast<LONG_PTR>(action),
                           OwnerSubclassKey(action, dialog));
  findReplaceOwner_ = owner;
  controls::RegisterModelessDialog(dialog);
  return dialog;
}

LRESULT CommonDialog::OnFindReplaceMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam,
                                           LONG_PTR) {
  if (lParam == 0 || findReplaceDialog_ == nullptr) {
    return controls::DefaultWindowProc(owner, message, wParam, lParam);
  }
  const FINDREPLACEW record = *reinterpret_cast<const FINDREPLACEW*>(lParam);
  const auto ownerOf = reinterpret_cast<HWND>(record.lCustData);
  if (ownerOf != findReplaceDialog_ && ownerOf != nullptr) {
    return controls::DefaultWindowProc(owner, message, wParam, lParam);
  }
  if ((record.Flags & FR_DIALOGTERM) != 0) {
    const LRESULT result = controls::DefaultWindowProc(owner, message, wParam, lParam);
    const HWND dialog = findReplaceDialog_;
    controls::UnsubclassWindow(owner, OwnerSubclassKey(findReplaceAction_, dialog));
    controls::UnregisterModelessDialog(dialog);
    findReplaceDialog_ = nullptr;
    findReplaceOwner_ = nullptr;
    return result;
  }
  flags_ = static_cast<int32_t>(record.Flags & ~static_cast<DWORD>(FR_ENABLEHOOK));
  if (record.lpstrFindWhat != nullptr) {
    findWhat_.assign(record.lpstrFindWhat,
                     wcsnlen(record.lpstrFindWhat, record.wFindWhatLen / sizeof(wchar_t)));
  }
  if (record.lpstrReplaceWith != nullptr) {
    replaceWith_.assign(record.lpstrReplaceWith,
                        wcsnlen(record.lpstrReplaceWith, record.wReplaceWithLen / sizeof(wchar_t)));
  }
  RaiseKeepingFocus([&] {
    if (events_ == nullptr) return;
    if ((record.Flags & FR_FINDNEXT) != 0) {
      events_->FindNext();
    } else if ((record.Flags & FR_REPLACE) != 0) {
      events_->Replace();
    } else if ((record.Flags & FR_REPLACEALL) != 0) {
      events_->ReplaceAll();
    }
  });
  return controls::DefaultWindowProc(owner, message, wParam, lParam);
}

void CommonDialog::CloseFindReplace() noexcept {
  const HWND dialog = findReplaceDialog_;
  if (dialog == nullptr) return;
  if (IsWindow(dialog)) {
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // The closing notification normally cleans up; make sure nothing is left if it never came.
  if (findReplaceDialog_ != nullptr) {
    controls::UnsubclassWindow(findReplaceOwner_, OwnerSubclassKey(findReplaceAction_, dialog));
    controls::UnregisterModelessDialog(dialog);
    findReplaceDialog_ = nullptr;
  }
}

}  // namespace veltrin::dialogs
