// The main window's file commands: pick an HTML file, export the result, import and export the
// word list. Each uses a new dialog; a failed or cancelled dialog ends the command silently, and a
// file that cannot be written or read after it is named in a message with the system's reason.
#include <string>
#include <vector>

#include "core/file_search.h"
#include "core/text_file.h"
#include "desktop/window_texts.h"
#include "core/word_list_file.h"
#include "desktop/main_window.h"
#include "common/run_time_error.h"
#include "common/utf16.h"
#include "dialogs/common_dialog.h"

namespace veltrin::window {

namespace {

// Sets up a new dialog as every file command does: cancelling is not an error.
void Prepare(dialogs::CommonDialog& dialog, const char16_t* title, const char16_t* filter) {
  dialog.SetCancelError(false);
  dialog.SetDialogTitle(ToWide(title));
  dialog.SetFilter(ToWide(filter));
}

// Returns whether a file of that name exists, as the window tests it (ordinary files only).
bool FileFound(const std::wstring& path) {
  return !path.empty() && !FindFileEntry(ToU16(path), 0).empty();
}

}  // namespace

bool MainWindow::AskOverwrite(const std::wstring& file_title) const {
  const std::u16string question = OverwriteQuestion(AsU16(file_title));
  return MessageBoxW(hWnd(), WideCStr(question), ToWide(kExportFileCaption).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MainWindow::ShowExported(const std::wstring& file_title) const {
  const std::u16string message = ExportDoneMessage(AsU16(file_title));
  MessageBoxW(hWnd(), WideCStr(message), ToWide(kExportFileCaption).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

void MainWindow::ShowFileFailure(const char16_t* action, const std::wstring& path,
                                 const std::u16string& reason) const {
  const std::u16string message = FileFailureMessage(action, AsU16(path), reason);
  MessageBoxW(hWnd(), WideCStr(message), ToWide(action).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void MainWindow::PickHtmlFile() {
  try {
    dialogs::CommonDialog dialog;
    Prepare(dialog, kImportTitle, kHtmlFilter);
    dialog.ShowOpen();
    if (FileFound(dialog.FileName())) SetWindowTextW(AddressBox(), dialog.FileName().c_str());
  } catch (...) {  // a failed dialog or search ends the command without a word
  }
}

void MainWindow::ExportResult() {
  const std::wstring text = ResultBox().Text();
  if (!text.empty()) ExportText(AsU16(text));
}

void MainWindow::ExportText(std::u16string_view text) {
  std::wstring name;
  std::wstring title;
  try {
    dialogs::CommonDialog dialog;
    Prepare(dialog, kExportTitle, kTextFilter);
    dialog.ShowSave();
    name = dialog.FileName();
    title = dialog.FileTitle();
  } catch (...) {  // see PickHtmlFile
    return;
  }
  if (name.empty()) return;
  try {
    if (FileFound(name) && !AskOverwrite(title)) return;
    WriteUtf8TextFile(text, ToU16(name));
  } catch (const RunTimeError& error) {  // the old file is untouched
    ShowFileFailure(kExportTitle, name, error.Description());
    return;
  }
  ShowExported(title);
}

void MainWindow::ImportWordList() {
  std::wstring name;
  try {
    dialogs::CommonDialog dialog;
    Prepare(dialog, kImportTitle, kTextFilter);
    dialog.ShowOpen();
    name = dialog.FileName();
  } catch (...) {  // see PickHtmlFile
    return;
  }
  try {
    if (FileFound(name)) LoadWordList(name);
  } catch (const RunTimeError& error) {  // the list is unchanged
    ShowFileFailure(kImportTitle, name, error.Description());
  }
}

void MainWindow::LoadWordList(const std::wstring& path) {
  // Read first: a failed read leaves the list as it was.
  const std::optional<std::vector<std::u16string>> words =
      ImportedWordList(ReadUtf8TextFile(ToU16(path)));
  if (!words) return;
  std::vector<std::wstring> items;
  items.reserve(words->size());
  for (const std::u16string& word : *words) items.emplace_back(AsWide(word));
  WordList().Clear();
  WordList().AddItems(items);
}

void MainWindow::ExportWordList() {
  if (WordList().ListCount() > 0) ExportText(ExportedWordList(WordListItems()));
}

}  // namespace veltrin::window
