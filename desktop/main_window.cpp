// The main window: its controls from the layout table, their events, and the commands that need
// no file dialog (add and delete a word, window on top).
#include "desktop/main_window.h"

#include <commctrl.h>

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

}  // namespace

void ButtonClick::Click() {
  RunGuarded(command_);
}

class MainWindow::ResultBoxEvents : public controls::TextBoxEvents {
 public:
  explicit ResultBoxEvents(MainWindow& window) noexcept : window_(window) {}
  void OLEDragOver(controls::DataObject& data, int32_t& effect, int16_t, int16_t, float, float,
                   int16_t) override {
    effect = static_cast<int32_t>(window_.DropEffect(data));
  }
  void OLEDragDrop(controls::DataObject& data, int32_t& effect, int16_t, int16_t, float,
                   float) override {
    effect = static_cast<int32_t>(window_.AcceptDrop(data));
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
  result_box_->SetScrollBars(controls::TextBoxW::kScrollBarsVertical);
  result_box_->SetOLEDropMode(controls::TextBoxW::kOleDropManual);
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

}  // namespace veltrin::window
