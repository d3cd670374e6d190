// Answers the modal dialogs and message boxes that the code under test opens.
#include "tests/support/dialog_responder.h"

namespace veltrin::test {

namespace {

DialogResponder* active_responder = nullptr;

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK KeepVisibleDialog(HWND window, LPARAM context) {
  if (ClassOf(window) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(context) = window;
  return FALSE;
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM context) {
  if (ClassOf(child) == L"Static" && GetWindowTextLengthW(child) > 0) {
    auto& all = *reinterpret_cast<std::wstring*>(context);
    if (!all.empty()) all += L"|";
    all += WindowText(child);
  }
  return TRUE;
}

BOOL CALLBACK KeepVisibleEdit(HWND child, LPARAM context) {
  if (ClassOf(child) != L"Edit" || !IsWindowVisible(child)) return TRUE;
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

// The first visible dialog of this thread, or null.
HWND FindThreadDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), KeepVisibleDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring StaticTexts(HWND dialog) {
  std::wstring texts;
  EnumChildWindows(dialog, AppendStaticText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

}  // namespace

DialogResponder::DialogResponder() {
  active_responder = this;
  timer_ = SetTimer(nullptr, 0, 50, &DialogResponder::OnTimer);
}

DialogResponder::~DialogResponder() {
  KillTimer(nullptr, timer_);
  active_responder = nullptr;
}

DialogResponder& DialogResponder::Then(Answer answer) {
  answers_.push_back(std::move(answer));
  return *this;
}

void CALLBACK DialogResponder::OnTimer(HWND, UINT, UINT_PTR, DWORD) noexcept {
  if (active_responder) active_responder->Poll();
}

void DialogResponder::Poll() {
  HWND dialog = FindThreadDialog();
  if (!dialog || (dialog == last_ && IsWindow(last_))) return;
  last_ = dialog;
  seen_.push_back({WindowText(dialog), StaticTexts(dialog)});
  if (answers_.empty()) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  answer(dialog);
}

DialogResponder::Answer DialogResponder::TypeFileName(std::wstring path) {
  return [path = std::move(path)](HWND dialog) {
    // The file name box is the first edit field (inside a combo box on explorer-style dialogs).
    HWND edit = nullptr;
    EnumChildWindows(dialog, KeepVisibleEdit, reinterpret_cast<LPARAM>(&edit));
    if (edit) SetWindowTextW(edit, path.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };
}

DialogResponder::Answer DialogResponder::Press(int button_id) {
  return [button_id](HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED), 0);
  };
}

}  // namespace veltrin::test
