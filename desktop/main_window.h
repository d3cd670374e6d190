// The tool's only window: the address box, the Extract, pick and export buttons, the result box,
// the blocked-word frame with its list, box and four buttons, and the window-on-top check box.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/extract_command.h"
#include "desktop/frame_background.h"
#include "desktop/layout.h"
#include "desktop/page_job.h"
#include "desktop/taskbar_progress.h"
#include "controls/base/gdi_handles.h"
#include "controls/base/host/form.h"
#include "controls/listbox/list_box_w.h"
#include "controls/textbox/text_box.h"

namespace veltrin::window {

// Runs a command when a plain button is clicked.
class ButtonClick : public controls::ExtenderEvents {
 public:
  explicit ButtonClick(std::function<void()> command) : command_(std::move(command)) {}
  void Click() override;

 private:
  std::function<void()> command_;
};

class MainWindow : public controls::Form {
 public:
  // Creates the window (hidden) with every control of its layout. Throws RunTimeError when a
  // window cannot be created.
  MainWindow();
  ~MainWindow() override;

  // Shows the window (ShowWindow's command) and gives the result box the focus.
  void ShowAndFocus(int command = SW_SHOW);

  // The commands, as the buttons, keys and drops run them. Extract starts reading the page and
  // returns; while the page is read, the same command cancels the read.
  void Extract();
  void PickHtmlFile();
  void ExportResult();
  void AddWord();
  void DeleteWord();
  void ImportWordList();
  void ExportWordList();
  void ApplyTopmost();
  // Replaces the list with the lines of a word-list file (a file without a line break changes
  // nothing). Throws RunTimeError when the file cannot be read; the list is then unchanged.
  void LoadWordList(const std::wstring& path);
  // Puts the source into the address box and extracts.
  void ExtractFrom(const std::wstring& source);
  // Whether a page is being read (the other commands are disabled meanwhile).
  bool Busy() const noexcept { return job_ != nullptr; }
  // Cancels the page being read, if any: the result box keeps its text.
  void CancelExtract();
  // The drop effect for the data: copy for an .html file the window would extract, else none.
  DWORD DropEffect(const controls::DataObject& data) const;
  // Answers a drop as DropEffect does and, for an .html file, extracts it once the drop has
  // returned (through a posted message), so that the source program is not held meanwhile.
  DWORD AcceptDrop(const controls::DataObject& data);

  // The controls, for the entry point and the tests.
  HWND AddressBox() const noexcept;
  controls::TextBoxW& ResultBox() const noexcept { return *result_box_; }
  controls::TextBoxW& WordBox() const noexcept { return *word_box_; }
  controls::ListBoxW& WordList() const noexcept { return *word_list_; }

 protected:
  controls::MessageResult OnClose() override;
  controls::MessageResult OnMessage(UINT message, WPARAM w_param, LPARAM l_param) override;
  controls::MessageResult OnCommand(WORD id, WORD code, HWND control) override;
  // Moves the controls to follow the new client size.
  void Resize() override;

 private:
  class ResultBoxEvents;
  class WordBoxEvents;

  void CreateControls();
  void CreateControl(const ControlLayout& layout);
  void ApplyIcon() noexcept;
  std::vector<std::u16string> WordListItems() const;
  std::u16string AddressText() const;
  // Asks for a .txt file and writes the text to it, asking before replacing one, then says so.
  void ExportText(std::u16string_view text);
  bool AskOverwrite(const std::wstring& file_title) const;
  void ShowExported(const std::wstring& file_title) const;
  // Shows a failed export or import of the file with the error's reason.
  void ShowFileFailure(const char16_t* action, const std::wstring& path,
                       const std::u16string& reason) const;
  // The page job: started, reported, ended; SetBusy switches the window between the two states.
  void StartJob(PageRequest request);
  void ShowJobProgress();
  void FinishJob();
  void SetBusy(bool busy);
  void ShowOutcome(const ExtractOutcome& outcome);
  // The layout at the window's size, and the smallest size the window takes.
  void ArrangeControls() noexcept;
  void ApplyMinimumSize(MINMAXINFO& limits) const noexcept;

  controls::FontRef font_;                    // the font of every visible control
  controls::UniqueFont gdi_font_;             // its GDI font, for the plain controls
  controls::TextBoxW* result_box_ = nullptr;  // owned by the form
  controls::TextBoxW* word_box_ = nullptr;    // owned by the form
  controls::ListBoxW* word_list_ = nullptr;   // owned by the form
  std::vector<std::unique_ptr<controls::ExtenderEvents>> button_events_;
  std::unique_ptr<ResultBoxEvents> result_box_events_;
  std::unique_ptr<WordBoxEvents> word_box_events_;
  std::unique_ptr<FrameBackground> frame_background_;  // paints under Frame1's controls
  SystemFileSearch files_;                             // the existence test, on this thread
  ExtractCommand extract_{files_};
  std::unique_ptr<PageJob> job_;     // the page being read, if any
  WPARAM job_number_ = 0;            // the number of the latest job
  TaskbarProgress taskbar_{hWnd()};  // the button's progress
  std::wstring dropped_file_;        // the file of a drop, extracted after it returned
};

}  // namespace veltrin::window
