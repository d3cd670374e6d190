// The modeless find and replace dialogs: opened once per instance, their commands raised as
// events through the owner-window subclass, keyboard navigation through the modeless hook.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <utility>

#include "controls/base/modeless_dialogs.h"
#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_hooks.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {
namespace {

// Copies `text` into `buffer`, cut so that the final NUL fits when the declared length is read as
// bytes (the shorter reading).
template <size_t N>
void FillBuffer(std::array<wchar_t, N>& buffer, const std::wstring& text) {
  buffer.fill(L'\0');
  std::copy_n(text.begin(), std::min(text.size(), N / sizeof(wchar_t) - 1), buffer.begin());
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
  const controls::CallScope call(*this);  // the InitDialog event may delete the dialog
  if (findReplaceDialog_ != nullptr) return nullptr;
  const HWND owner = DialogOwnerWindow();
  findReplace_ = FINDREPLACEW{};
  findReplace_.lStructSize = sizeof(findReplace_);
  findReplace_.hwndOwner = owner;
  findReplace_.Flags = static_cast<DWORD>(flags_);
  if (hookEvents_) {
    // The hook hands the dialog's messages to its handler until the dialog is destroyed.
    findHook_ = std::make_unique<InitDialogHook>(*this, action);
    findReplace_.Flags |= FR_ENABLEHOOK;
    findReplace_.lpfnHook = findHook_->HookFor(findReplace_);
  }
  FillBuffer(findBuffer_, findWhat_);
  findReplace_.lpstrFindWhat = findBuffer_.data();
  findReplace_.wFindWhatLen = kFindReplaceLength;
  if (action == kActionReplace) {
    FillBuffer(replaceBuffer_, replaceWith_);
    findReplace_.lpstrReplaceWith = replaceBuffer_.data();
    findReplace_.wReplaceWithLen = kFindReplaceLength;
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
  controls::SubclassWindow(owner, &findOwnerReceiver_, static_cast<LONG_PTR>(action),
                           OwnerSubclassKey(action, dialog));
  findReplaceOwner_ = owner;
  SetWindowSubclass(dialog, FindDialogProc, 0, reinterpret_cast<DWORD_PTR>(this));
  controls::RegisterModelessDialog(dialog);
  return dialog;
}

LRESULT CALLBACK CommonDialog::FindDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR refData) noexcept {
  if (message == WM_NCDESTROY) {
    auto& self = *reinterpret_cast<CommonDialog*>(refData);
    if (self.findReplaceDialog_ == dialog) self.ForgetFindReplace();
  }
  return DefSubclassProc(dialog, message, wParam, lParam);
}

void CommonDialog::ForgetFindReplace() noexcept {
  const HWND dialog = std::exchange(findReplaceDialog_, nullptr);
  if (dialog == nullptr) return;
  RemoveWindowSubclass(dialog, FindDialogProc, 0);
  controls::UnsubclassWindow(std::exchange(findReplaceOwner_, nullptr),
                             OwnerSubclassKey(findReplaceAction_, dialog));
  controls::UnregisterModelessDialog(dialog);
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
    ForgetFindReplace();
    return result;
  }
  flags_ = static_cast<int32_t>(record.Flags & ~static_cast<DWORD>(FR_ENABLEHOOK));
  // The buffers hold kFindReplaceLength characters, whichever way the dialog read the length.
  if (record.lpstrFindWhat != nullptr) {
    findWhat_.assign(record.lpstrFindWhat, wcsnlen(record.lpstrFindWhat, kFindReplaceLength));
  }
  if (record.lpstrReplaceWith != nullptr) {
    replaceWith_.assign(record.lpstrReplaceWith,
                        wcsnlen(record.lpstrReplaceWith, kFindReplaceLength));
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
  // The closing notification or the destruction normally cleans up; make sure nothing is left.
  ForgetFindReplace();
}

}  // namespace veltrin::dialogs
