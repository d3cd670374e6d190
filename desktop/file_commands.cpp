// The main window's file commands: pick an HTML file, export the result, import and export the
// word list. Each uses a new dialog and ends silently on any error once the dialog is set up.
#include <string>
#include <vector>

#include "core/file_search.h"
#include "core/text_file.h"
#include "desktop/window_texts.h"
#include "core/word_list_file.h"
#include "desktop/main_window.h"
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
  try {
    dialogs::CommonDialog dialog;
    Prepare(dialog, kExportTitle, kTextFilter);
    dialog.ShowSave();
    const std::wstring& name = dialog.FileName();
    if (name.empty()) return;
    if (FileFound(name) && !AskOverwrite(dialog.FileTitle())) return;
    WriteUtf8TextFile(text, ToU16(name));
    ShowExported(dialog.FileTitle());
  } catch (...) {  // see PickHtmlFile
  }
}

void MainWindow::ImportWordList() {
  try {
    dialogs::CommonDialog dialog;
    Prepare(dialog, kImportTitle, kTextFilter);
    dialog.ShowOpen();
    if (FileFound(dialog.FileName())) LoadWordList(dialog.FileName());
  } catch (...) {  // see PickHtmlFile
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
