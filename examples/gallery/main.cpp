// The control library's gallery: one form with a text box, a list box and a button for each common
// dialog; a button shows its dialog and the list box says what came back. It is built only against
// the installed package (find_package(VeltrinControls)), as any other program would use it.
// `gallery --close` closes the form as soon as it is shown, so that a test sees it open and close.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/run_time_error.h"
#include "controls/base/host/form.h"
#include "controls/listbox/list_box_w.h"
#include "controls/textbox/text_box.h"
#include "dialogs/common_dialog.h"

namespace {

using veltrin::controls::ExtenderEvents;
using veltrin::controls::Form;
using veltrin::controls::ListBoxW;
using veltrin::controls::TextBoxW;
using veltrin::dialogs::CommonDialog;

// What a button runs when it is clicked.
class ButtonAction final : public ExtenderEvents {
 public:
  explicit ButtonAction(std::function<void()> action) : action_(std::move(action)) {}
  void Click() override { action_(); }

 private:
  std::function<void()> action_;
};

// A common dialog and what its button reports after the user confirmed it.
struct DialogButton {
  const wchar_t* caption;
  std::function<bool(CommonDialog&)> show;
  std::function<std::wstring(const CommonDialog&)> result;
};

std::wstring FileResult(const CommonDialog& dialog) {
  return dialog.FileName();
}

std::wstring ColorResult(const CommonDialog& dialog) {
  wchar_t text[16];
  wsprintfW(text, L"#%06X", static_cast<unsigned>(dialog.Color()));
  return text;
}

const std::vector<DialogButton>& DialogButtons() {
  static const std::vector<DialogButton> buttons = {
      {L"Open...", &CommonDialog::ShowOpen, FileResult},
      {L"Save...", &CommonDialog::ShowSave, FileResult},
      {L"Colour...", &CommonDialog::ShowColor, ColorResult},
      {L"Font...", &CommonDialog::ShowFont, [](const CommonDialog& d) { return d.FontName(); }},
      {L"Print...", &CommonDialog::ShowPrinter,
       [](const CommonDialog& d) { return d.PrinterName(); }},
      {L"Page setup...", &CommonDialog::ShowPageSetup,
       [](const CommonDialog& d) { return d.PrinterName(); }},
      {L"Folder...", &CommonDialog::ShowFolderBrowser, FileResult},
      {L"Find...", [](CommonDialog& d) { return d.ShowFind() != nullptr; },
       [](const CommonDialog&) { return std::wstring(L"find dialog open"); }},
  };
  return buttons;
}

// The form and its controls; one dialog object serves every button (the find dialog is modeless
// and must outlive the click).
class Gallery {
 public:
  Gallery() : form_(L"Veltrin controls", 460, 300) {
    auto text = std::make_unique<TextBoxW>();
    auto list = std::make_unique<ListBoxW>();
    text_ = text.get();
    list_ = list.get();
    form_.AddControl(std::move(text), L"Text1", {10, 10, 300, 40});
    form_.AddControl(std::move(list), L"List1", {10, 50, 300, 290});
    dialog_.SetCancelError(false);
    int top = 10;
    int number = 0;
    for (const DialogButton& button : DialogButtons()) {
      auto& action =
          actions_.emplace_back(std::make_unique<ButtonAction>([this, &button] { Run(button); }));
      form_
          .AddButton(L"Command" + std::to_wstring(++number), button.caption,
                     {320, top, 450, top + 28})
          .Events()
          .Connect(action.get());
      top += 34;
    }
    text_->SetText(L"Type here; each dialog adds a line below.");
  }

  Form& form() noexcept { return form_; }

 private:
  void Run(const DialogButton& button) {
    std::wstring line = std::wstring(button.caption) + L" ";
    try {
      line += button.show(dialog_) ? button.result(dialog_) : L"cancelled";
    } catch (const veltrin::RunTimeError& error) {
      line += L"error " + std::to_wstring(error.Number());
    }
    list_->AddItem(line);
  }

  Form form_;
  TextBoxW* text_ = nullptr;
  ListBoxW* list_ = nullptr;
  CommonDialog dialog_;
  std::vector<std::unique_ptr<ButtonAction>> actions_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int show) {
  InitCommonControls();
  try {
    Gallery gallery;
    gallery.form().Show(show);
    if (std::wstring(command_line).find(L"--close") != std::wstring::npos) {
      if (!IsWindowVisible(gallery.form().hWnd())) return 2;
      PostMessageW(gallery.form().hWnd(), WM_CLOSE, 0, 0);
    }
    return gallery.form().RunMessageLoop();
  } catch (...) {
    MessageBoxW(nullptr, L"The gallery could not start.", L"Veltrin controls",
                MB_OK | MB_ICONERROR);
    return 1;
  }
}
