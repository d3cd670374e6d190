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
  if (find_replace_dialog_ != nullptr) return nullptr;
  const HWND owner = DialogOwnerWindow();
  find_replace_ = FINDREPLACEW{};
  find_replace_.lStructSize = sizeof(find_replace_);
  find_replace_.hwndOwner = owner;
  find_replace_.Flags = static_cast<DWORD>(flags_);
  if (hook_events_) {
    // The hook hands the dialog's messages to its handler until the dialog is destroyed.
    find_hook_ = std::make_unique<InitDialogHook>(*this, action);
    find_replace_.Flags |= FR_ENABLEHOOK;
    find_replace_.lpfnHook = find_hook_->HookFor(find_replace_);
  }
  FillBuffer(find_buffer_, find_what_);
  find_replace_.lpstrFindWhat = find_buffer_.data();
  find_replace_.wFindWhatLen = kFindReplaceLength;
  if (action == kActionReplace) {
    FillBuffer(replace_buffer_, replace_with_);
    find_replace_.lpstrReplaceWith = replace_buffer_.data();
    find_replace_.wReplaceWithLen = kFindReplaceLength;
  }
  if ((flags_ & FR_SHOWHELP) != 0) Registered(help_message_, HELPMSGSTRINGW);
  Registered(find_replace_message_, FINDMSGSTRINGW);
  const HWND dialog =
      action == kActionFind ? FindTextW(&find_replace_) : ReplaceTextW(&find_replace_);
  if (dialog == nullptr) {
    const DialogKind kind = action == kActionFind ? DialogKind::kFind : DialogKind::kReplace;
    throw DialogError(kind, DialogExtendedError(kind));
  }
  find_replace_dialog_ = dialog;
  find_replace_action_ = action;
  find_replace_.lCustData = reinterpret_cast<LPARAM>(dialog);
  controls::SubclassWindow(owner, &find_owner_receiver_, static_cast<LONG_PTR>(action),
                           OwnerSubclassKey(action, dialog));
  find_replace_owner_ = owner;
  SetWindowSubclass(dialog, FindDialogProc, 0, reinterpret_cast<DWORD_PTR>(this));
  controls::RegisterModelessDialog(dialog);
  return dialog;
}

LRESULT CALLBACK CommonDialog::FindDialogProc(HWND dialog, UINT message, WPARAM w_param,
                                              LPARAM l_param, UINT_PTR,
                                              DWORD_PTR ref_data) noexcept {
  if (message == WM_NCDESTROY) {
    auto& self = *reinterpret_cast<CommonDialog*>(ref_data);
    if (self.find_replace_dialog_ == dialog) self.ForgetFindReplace();
  }
  return DefSubclassProc(dialog, message, w_param, l_param);
}

void CommonDialog::ForgetFindReplace() noexcept {
  const HWND dialog = std::exchange(find_replace_dialog_, nullptr);
  if (dialog == nullptr) return;
  RemoveWindowSubclass(dialog, FindDialogProc, 0);
  controls::UnsubclassWindow(std::exchange(find_replace_owner_, nullptr),
                             OwnerSubclassKey(find_replace_action_, dialog));
  controls::UnregisterModelessDialog(dialog);
}

LRESULT CommonDialog::OnFindReplaceMessage(HWND owner, UINT message, WPARAM w_param, LPARAM l_param,
                                           LONG_PTR) {
  if (l_param == 0 || find_replace_dialog_ == nullptr) {
    return controls::DefaultWindowProc(owner, message, w_param, l_param);
  }
  const FINDREPLACEW record = *reinterpret_cast<const FINDREPLACEW*>(l_param);
  const auto owner_of = reinterpret_cast<HWND>(record.lCustData);
  if (owner_of != find_replace_dialog_ && owner_of != nullptr) {
    return controls::DefaultWindowProc(owner, message, w_param, l_param);
  }
  if ((record.Flags & FR_DIALOGTERM) != 0) {
    const LRESULT result = controls::DefaultWindowProc(owner, message, w_param, l_param);
    ForgetFindReplace();
    return result;
  }
  flags_ = static_cast<int32_t>(record.Flags & ~static_cast<DWORD>(FR_ENABLEHOOK));
  // The buffers hold kFindReplaceLength characters, whichever way the dialog read the length.
  if (record.lpstrFindWhat != nullptr) {
    find_what_.assign(record.lpstrFindWhat, wcsnlen(record.lpstrFindWhat, kFindReplaceLength));
  }
  if (record.lpstrReplaceWith != nullptr) {
    replace_with_.assign(record.lpstrReplaceWith,
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
  return controls::DefaultWindowProc(owner, message, w_param, l_param);
}

void CommonDialog::CloseFindReplace() noexcept {
  const HWND dialog = find_replace_dialog_;
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
