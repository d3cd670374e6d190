// The main window: its controls from the layout table, their events, and the commands that need
// no file dialog (Extract, add and delete a word, window on top, a dropped file).
#include "desktop/main_window.h"

#include <commctrl.h>

#include <optional>

#include "core/pipeline.h"
#include "core/utf8.h"
#include "core/word_list_file.h"
#include "desktop/wait_cursor.h"
#include "desktop/window_font.h"
#include "desktop/window_topmost.h"
#include "common/utf16.h"
#include "controls/base/error_report.h"
#include "controls/base/fonts.h"
#include "controls/base/host/data_object.h"

namespace veltrin::window {

namespace {

constexpr int16_t kKeyEnter = 13;
constexpr int16_t kKeySeparator = 108;  // VK_SEPARATOR
constexpr int32_t kScrollBarsVertical = 2;
constexpr int32_t kOleDropManual = 1;
constexpr OLE_COLOR kSystemWindowBackground = 0x80000005;
constexpr OLE_COLOR kSystemWindowText = 0x80000008;
constexpr int kIconResource = 1;

// Runs a command so that nothing it throws leaves the event (and so the window procedure).
void RunGuarded(const std::function<void()>& command) noexcept {
  try {
    command();
  } catch (...) {  // every command tells the user what they must know itself
    controls::ReportCaughtError(L"a window command");
  }
}

// Clears a flag when the scope ends, whatever the way out.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) noexcept : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void ButtonClick::Click() {
  RunGuarded(command_);
}

void FormMessagePump::ProcessPendingMessages() {
  if (!form_.PumpPendingMessages()) PostQuitMessage(0);
}

class MainWindow::ResultBoxEvents : public controls::TextBoxEvents {
 public:
  explicit ResultBoxEvents(MainWindow& window) noexcept : window_(window) {}
  void OLEDragDrop(controls::DataObject& data, int32_t&, int16_t, int16_t, float, float) override {
    RunGuarded([&] { window_.DropFiles(data.Files()); });
  }

 private:
  MainWindow& window_;
};

class MainWindow::WordBoxEvents : public controls::TextBoxEvents {
 public:
  explicit WordBoxEvents(MainWindow& window) noexcept : window_(window) {}
  void KeyDown(int16_t& key_code, int16_t) override {
    if (key_code == kKeyEnter || key_code == kKeySeparator) RunGuarded([&] { window_.AddWord(); });
  }

 private:
  MainWindow& window_;
};

MainWindow::MainWindow()
    : Form(kWindowCaption, TwipsToPixelsX(kClientWidthTwips), TwipsToPixelsY(kClientHeightTwips)),
      font_(MakeWindowFont()),
      gdi_font_(controls::CreateGdiFont(*font_)),
      result_box_events_(std::make_unique<ResultBoxEvents>(*this)),
      word_box_events_(std::make_unique<WordBoxEvents>(*this)) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  SetFont(font_);
  CreateControls();
  ApplyIcon();
}

MainWindow::~MainWindow() {
  // The form destroys the controls after this body: no event may reach the handlers below then.
  for (size_t i = 0; i < ControlCount(); ++i) ControlAt(i).Events().Connect(nullptr);
  result_box_->Events().Connect(nullptr);
  word_box_->Events().Connect(nullptr);
}

void MainWindow::CreateControls() {
  for (const ControlLayout& layout : kLayout) CreateControl(layout);
  // The frame goes under the controls drawn on it.
  HWND frame = Find(L"Frame1")->hWnd();
  SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  frame_background_ = std::make_unique<FrameBackground>(frame);

  // New boxes show their own name, as a fresh control on a form does; the window starts empty.
  result_box_->SetText(L"");
  word_box_->SetText(L"");
  result_box_->SetMultiLine(true);
  result_box_->SetScrollBars(kScrollBarsVertical);
  result_box_->SetOLEDropMode(kOleDropManual);
  result_box_->Events().Connect(result_box_events_.get());
  word_box_->Events().Connect(word_box_events_.get());
  word_list_->SetBackColor(kSystemWindowBackground);
  word_list_->SetForeColor(kSystemWindowText);

  const std::pair<const wchar_t*, void (MainWindow::*)()> commands[] = {
      {L"Command1", &MainWindow::Extract},        {L"Command2", &MainWindow::PickHtmlFile},
      {L"Command3", &MainWindow::ExportResult},   {L"Command4", &MainWindow::AddWord},
      {L"Command5", &MainWindow::DeleteWord},     {L"Command6", &MainWindow::ImportWordList},
      {L"Command7", &MainWindow::ExportWordList}, {L"Check1", &MainWindow::ApplyTopmost},
  };
  for (const auto& [name, command] : commands) {
    auto& events = button_events_.emplace_back(
        std::make_unique<ButtonClick>([this, command = command] { (this->*command)(); }));
    Find(name)->Events().Connect(events.get());
  }
}

void MainWindow::CreateControl(const ControlLayout& layout) {
  const RECT bounds = PixelBounds(layout);
  controls::Extender* created = nullptr;
  switch (layout.kind) {
    case ControlKind::kTextBox:
      created = &AddNativeControl(L"Edit", layout.name, L"",
                                  WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, bounds);
      break;
    case ControlKind::kButton:
      created = &AddButton(layout.name, layout.caption, bounds);
      break;
    case ControlKind::kCheckBox:
      created = &AddCheckBox(layout.name, layout.caption, bounds);
      break;
    case ControlKind::kFrame:
      created = &AddFrame(layout.name, layout.caption, bounds);
      created->SetTabStop(false);
      break;
    case ControlKind::kTextBoxW: {
      auto box = std::make_unique<controls::TextBoxW>();
      (result_box_ ? word_box_ : result_box_) = box.get();
      created = &AddControl(std::move(box), layout.name, bounds);
      break;
    }
    case ControlKind::kListBoxW: {
      auto list = std::make_unique<controls::ListBoxW>();
      word_list_ = list.get();
      created = &AddControl(std::move(list), layout.name, bounds);
      break;
    }
  }
  if (created->Control()) {
    if (auto* box = dynamic_cast<controls::TextBoxW*>(created->Control())) box->SetFont(font_);
    if (auto* list = dynamic_cast<controls::ListBoxW*>(created->Control())) list->SetFont(font_);
  } else {
    SendMessageW(created->hWnd(), WM_SETFONT, reinterpret_cast<WPARAM>(gdi_font_.Get()), FALSE);
  }
  created->SetTabIndex(layout.tab_index);
}

void MainWindow::ApplyIcon() noexcept {
  HINSTANCE module = GetModuleHandleW(nullptr);
  for (auto [which, size] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    const int pixels = GetSystemMetrics(size);
    HANDLE icon =
        LoadImageW(module, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, pixels, pixels, LR_SHARED);
    if (icon) SendMessageW(hWnd(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
}

void MainWindow::ShowAndFocus(int command) {
  Show(command);
  result_box_->SetFocus();
}

HWND MainWindow::AddressBox() const noexcept {
  return Find(L"Text1")->hWnd();
}

std::u16string MainWindow::AddressText() const {
  HWND box = AddressBox();
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)), L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()) + 1)));
  return ToU16(text);
}

std::vector<std::u16string> MainWindow::WordListItems() const {
  std::vector<std::u16string> items;
  const int32_t count = word_list_->ListCount();
  items.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) items.push_back(ToU16(word_list_->List(i)));
  return items;
}

void MainWindow::Extract() {
  if (extracting_) return;  // clicked again during the message pass after a download
  std::optional<ExtractOutcome> outcome;
  {
    FlagScope running(extracting_);
    const std::u16string source = AddressText();
    std::optional<WaitCursor> wait;
    if (IsWebAddress(source)) wait.emplace();
    try {
      outcome = extract_.Run(source, WordListItems());
    } catch (const std::exception& error) {
      outcome = ExtractOutcome{ExtractOutcome::Kind::kFailed,
                               u"提取失败：" + Utf8BytesToText(error.what())};
    }
  }
  if (outcome->kind == ExtractOutcome::Kind::kResult) {
    result_box_->SetText(AsWide(outcome->text));
  } else if (outcome->kind == ExtractOutcome::Kind::kFailed) {
    MessageBoxW(hWnd(), WideCStr(outcome->text), ToWide(kExtractCaption).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
  }
  if (close_deferred_) {
    close_deferred_ = false;
    PostMessageW(hWnd(), WM_CLOSE, 0, 0);
  }
}

void MainWindow::AddWord() {
  const std::wstring word = word_box_->Text();
  if (word.empty()) return;
  word_list_->AddItem(word);
  word_box_->SetText(L"");
  word_box_->SetFocus();
}

void MainWindow::DeleteWord() {
  if (word_list_->ListCount() > 0 && word_list_->ListIndex() != -1) {
    word_list_->RemoveItem(word_list_->ListIndex());
  }
}

void MainWindow::ApplyTopmost() {
  if (SendMessageW(Find(L"Check1")->hWnd(), BM_GETCHECK, 0, 0) == BST_CHECKED) {
    SetWindowTopmost(hWnd());
  } else {
    ClearWindowTopmost(hWnd());
  }
}

void MainWindow::ExtractFrom(const std::wstring& source) {
  SetWindowTextW(AddressBox(), source.c_str());
  Extract();
}

void MainWindow::DropFiles(const std::vector<std::wstring>& files) {
  std::vector<std::u16string> paths;
  for (const std::wstring& file : files) paths.push_back(ToU16(file));
  const std::optional<std::u16string> html = DroppedHtmlFile(paths);
  if (!html) return;
  ExtractFrom(ToWide(*html));
}

controls::MessageResult MainWindow::OnClose() {
  if (extracting_) {  // the command still uses the controls; close when it ends
    close_deferred_ = true;
    return 0;
  }
  return Form::OnClose();
}

}  // namespace veltrin::window
