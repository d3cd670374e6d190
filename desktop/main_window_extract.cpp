// The main window's Extract command: the page is read by a job on a worker thread while the window
// keeps its loop; meanwhile "提取" cancels (as Esc does), the other commands are disabled and the
// caption and taskbar button show the progress. Dropped .html files are extracted the same way.
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/utf8.h"
#include "core/word_list_file.h"
#include "desktop/main_window.h"
#include "desktop/window_texts.h"
#include "common/utf16.h"
#include "controls/base/host/data_object.h"

namespace veltrin::window {

namespace {

// Posted to itself by a drop: the dropped file is extracted after the drop returned.
constexpr UINT kExtractDroppedMessage = WM_APP + 3;

// The commands switched off while a page is read (the word box and list stay usable: the read
// works on a copy of the words).
constexpr const wchar_t* kDisabledWhileBusy[] = {L"Text1",    L"Command2", L"Command3", L"Command4",
                                                 L"Command5", L"Command6", L"Command7"};

// The first dropped file when it is an .html file the window extracts.
std::optional<std::wstring> DroppedHtml(const controls::DataObject& data) {
  std::vector<std::u16string> paths;
  for (const std::wstring& file : data.Files()) paths.push_back(ToU16(file));
  const std::optional<std::u16string> html = DroppedHtmlFile(paths);
  if (!html) return std::nullopt;
  return ToWide(*html);
}

}  // namespace

void MainWindow::Extract() {
  if (job_) {  // the button cancels while a page is read
    CancelExtract();
    return;
  }
  auto started = extract_.Start(AddressText(), WordListItems());
  if (auto* request = std::get_if<PageRequest>(&started)) {
    StartJob(std::move(*request));
  } else {
    ShowOutcome(std::get<ExtractOutcome>(started));
  }
}

void MainWindow::ExtractFrom(const std::wstring& source) {
  if (job_) return;
  SetWindowTextW(AddressBox(), source.c_str());
  Extract();
}

void MainWindow::StartJob(PageRequest request) {
  job_ = std::make_unique<PageJob>(hWnd(), ++job_number_, std::move(request));
  SetBusy(true);
}

void MainWindow::CancelExtract() {
  if (!job_) return;
  job_.reset();  // the worker's outcome is dropped; the result box stays as it was
  SetBusy(false);
}

void MainWindow::ShowJobProgress() {
  const PageJob::Progress progress = job_->TakeProgress();
  const std::u16string caption =
      ProgressCaption(AsU16(kWindowCaption), progress.received, progress.total);
  SetWindowTextW(hWnd(), WideCStr(caption));
  taskbar_.Show(progress.received, progress.total);
}

void MainWindow::FinishJob() {
  const ExtractOutcome outcome = job_->TakeOutcome();
  job_.reset();
  SetBusy(false);
  ShowOutcome(outcome);
}

void MainWindow::SetBusy(bool busy) {
  const HWND focus = GetFocus();
  bool focus_disabled = false;  // a control that loses the focus hands it to the cancel button
  for (const wchar_t* name : kDisabledWhileBusy) {
    if (controls::Extender* control = Find(name)) {
      const HWND window = control->hWnd();
      if (busy && focus && (focus == window || IsChild(window, focus))) focus_disabled = true;
      EnableWindow(window, busy ? FALSE : TRUE);
    }
  }
  controls::Extender* button = Find(L"Command1");
  SetWindowTextW(button->hWnd(), WideCStr(busy ? kCancelCaption : kExtractCaption));
  SetCancelButton(busy ? button : nullptr);
  if (focus_disabled) SetFocus(button->hWnd());
  if (!busy) {
    SetWindowTextW(hWnd(), kWindowCaption);
    taskbar_.Clear();
  }
}

void MainWindow::ShowOutcome(const ExtractOutcome& outcome) {
  if (outcome.kind == ExtractOutcome::Kind::kResult) {
    result_box_->SetText(AsWide(outcome.text));
  } else if (outcome.kind == ExtractOutcome::Kind::kFailed) {
    MessageBoxW(hWnd(), WideCStr(outcome.text), ToWide(kExtractCaption).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
  }
}

DWORD MainWindow::DropEffect(const controls::DataObject& data) const {
  return !job_ && DroppedHtml(data) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DWORD MainWindow::AcceptDrop(const controls::DataObject& data) {
  if (job_) return DROPEFFECT_NONE;
  std::optional<std::wstring> html = DroppedHtml(data);
  if (!html) return DROPEFFECT_NONE;
  dropped_file_ = std::move(*html);
  PostMessageW(hWnd(), kExtractDroppedMessage, 0, 0);
  return DROPEFFECT_COPY;
}

controls::MessageResult MainWindow::OnMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  switch (message) {
    case WM_GETMINMAXINFO:
      ApplyMinimumSize(*reinterpret_cast<MINMAXINFO*>(l_param));
      return 0;
    case kJobProgressMessage:
      if (job_ && job_->Number() == w_param) ShowJobProgress();
      return 0;
    case kJobDoneMessage:
      if (job_ && job_->Number() == w_param) FinishJob();
      return 0;
    case kExtractDroppedMessage:
      if (!dropped_file_.empty()) ExtractFrom(std::exchange(dropped_file_, std::wstring()));
      return 0;
    default:
      return controls::kNotHandled;
  }
}

controls::MessageResult MainWindow::OnClose() {
  CancelExtract();  // closing during a read cancels it; the worker ends on its own
  return Form::OnClose();
}

}  // namespace veltrin::window
