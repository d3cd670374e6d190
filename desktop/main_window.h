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

// Processes the form's pending messages once; a WM_QUIT met on the way is posted again for the
// main loop.
class FormMessagePump : public MessagePump {
 public:
  explicit FormMessagePump(controls::Form& form) noexcept : form_(form) {}
  void ProcessPendingMessages() override;

 private:
  controls::Form& form_;
};

class MainWindow : public controls::Form {
 public:
  // Creates the window (hidden) with every control of its layout. Throws RunTimeError when a
  // window cannot be created.
  MainWindow();
  ~MainWindow() override;

  // Shows the window (ShowWindow's command) and gives the result box the focus.
  void ShowAndFocus(int command = SW_SHOW);

  // The commands, as the buttons, keys and drops run them.
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
  // Fills the address box with the first dropped file and extracts, when it ends in ".HTML".
  void DropFiles(const std::vector<std::wstring>& files);

  // The controls, for the entry point and the tests.
  HWND AddressBox() const noexcept;
  controls::TextBoxW& ResultBox() const noexcept { return *result_box_; }
  controls::TextBoxW& WordBox() const noexcept { return *word_box_; }
  controls::ListBoxW& WordList() const noexcept { return *word_list_; }

 protected:
  controls::MessageResult OnClose() override;

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

  controls::FontRef font_;                    // the font of every visible control
  controls::UniqueFont gdi_font_;             // its GDI font, for the plain controls
  controls::TextBoxW* result_box_ = nullptr;  // owned by the form
  controls::TextBoxW* word_box_ = nullptr;    // owned by the form
  controls::ListBoxW* word_list_ = nullptr;   // owned by the form
  std::vector<std::unique_ptr<controls::ExtenderEvents>> button_events_;
  std::unique_ptr<ResultBoxEvents> result_box_events_;
  std::unique_ptr<WordBoxEvents> word_box_events_;
  std::unique_ptr<FrameBackground> frame_background_;  // paints under Frame1's controls
  HttpPageFetcher fetcher_;
  FormMessagePump pump_{*this};
  SystemFileSearch files_;
  ExtractCommand extract_{fetcher_, pump_, files_};
  bool extracting_ = false;      // an Extract runs (its message pass may re-enter the window)
  bool close_deferred_ = false;  // a close came during the message pass; done afterwards
};

}  // namespace veltrin::window
