// CommonDialog: properties with their setter rules, Action, destruction, and the owner-window
// subclasses that raise Help.
#include "dialogs/common_dialog.h"

#include "common/run_time_error.h"
#include "controls/base/error_report.h"
#include "controls/base/modeless_dialogs.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_hooks.h"
#include "dialogs/dialog_internal.h"

namespace veltrin::dialogs {
namespace {

void Require(bool valid) {
  if (!valid) throw RunTimeError(kInvalidPropertyValue);
}

[[noreturn]] void RaiseReadOnly() {
  throw RunTimeError(kSetNotSupported, u"Property is read-only");
}

int32_t LocaleDefaultPaperSize() noexcept {
  DWORD measure = 1;
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IMEASURE | LOCALE_RETURN_NUMBER,
                 reinterpret_cast<LPWSTR>(&measure), sizeof(measure) / sizeof(wchar_t));
  return measure == 0 ? DMPAPER_A4 : DMPAPER_LETTER;
}

}  // namespace

CommonDialog::CommonDialog() : paper_size_(LocaleDefaultPaperSize()) {}

CommonDialog::~CommonDialog() {
  // Closing the find dialog below sends messages that run calls on this object; counted as one
  // more call, they can never see the count fall to 0 and delete it a second time.
  EnterCall();
  CloseFindReplace();
}

void CommonDialog::Sethdc(HDC) {
  RaiseReadOnly();
}
void CommonDialog::SetFileTitle(const std::wstring&) {
  RaiseReadOnly();
}
void CommonDialog::SetFileOffset(int16_t) {
  RaiseReadOnly();
}

void CommonDialog::SetMaxFileSize(int32_t value) {
  Require(value >= 1);
  max_file_size_ = value;
}

void CommonDialog::SetFilterIndex(int32_t value) {
  Require(value >= 0);
  filter_index_ = value;
}

void CommonDialog::SetMin(int32_t value) {
  Require(value >= 0);
  min_ = value;
}

void CommonDialog::SetMax(int32_t value) {
  Require(value >= 0);
  max_ = value;
}

void CommonDialog::SetFromPage(int32_t value) {
  Require(value >= 0);
  from_page_ = value;
}

void CommonDialog::SetToPage(int32_t value) {
  Require(value >= 0);
  to_page_ = value;
}

void CommonDialog::SetPrinterField(int32_t& field, int32_t value, int32_t bit, bool valid) {
  Require(valid);
  field = value;
  default_fields_ &= ~bit;
}

void CommonDialog::SetOrientation(int32_t value) {
  SetPrinterField(orientation_, value, DM_ORIENTATION, value >= 1 && value <= 2);
}

void CommonDialog::SetPaperSize(int32_t value) {
  SetPrinterField(paper_size_, value, DM_PAPERSIZE, value >= 1 && value <= 32767);
}

void CommonDialog::SetCopies(int16_t value) {
  Require(value >= 1);
  copies_ = value;
}

void CommonDialog::SetPaperBin(int32_t value) {
  SetPrinterField(paper_bin_, value, DM_DEFAULTSOURCE, value >= 1 && value <= 32767);
}

void CommonDialog::SetPrintQuality(int32_t value) {
  SetPrinterField(print_quality_, value, DM_PRINTQUALITY, value >= -4 && value <= 32767);
}

void CommonDialog::SetColorMode(int32_t value) {
  SetPrinterField(color_mode_, value, DM_COLOR, value >= 1 && value <= 2);
}

void CommonDialog::SetDuplex(int32_t value) {
  SetPrinterField(duplex_, value, DM_DUPLEX, value >= 1 && value <= 3);
}

void CommonDialog::SetHelpCommand(int32_t value) {
  switch (value) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 8:
    case 9:
    case 257:
    case 258:
    case 261:
      help_command_ = value;
      return;
    default:
      throw RunTimeError(kInvalidPropertyValue);
  }
}

void CommonDialog::SetPageLeftMargin(int32_t value) {
  Require(value >= 0);
  margins_.left = value;
}
void CommonDialog::SetPageTopMargin(int32_t value) {
  Require(value >= 0);
  margins_.top = value;
}
void CommonDialog::SetPageRightMargin(int32_t value) {
  Require(value >= 0);
  margins_.right = value;
}
void CommonDialog::SetPageBottomMargin(int32_t value) {
  Require(value >= 0);
  margins_.bottom = value;
}
void CommonDialog::SetPageLeftMinMargin(int32_t value) {
  Require(value >= 0);
  min_margins_.left = value;
}
void CommonDialog::SetPageTopMinMargin(int32_t value) {
  Require(value >= 0);
  min_margins_.top = value;
}
void CommonDialog::SetPageRightMinMargin(int32_t value) {
  Require(value >= 0);
  min_margins_.right = value;
}
void CommonDialog::SetPageBottomMinMargin(int32_t value) {
  Require(value >= 0);
  min_margins_.bottom = value;
}

void CommonDialog::SetRootFolder(controls::PropertyValue value) {
  using controls::ValueType;
  switch (value.Type()) {
    case ValueType::kEmpty:
    case ValueType::kInteger:
    case ValueType::kLong:
    case ValueType::kSingle:
    case ValueType::kDouble:
    case ValueType::kString:
    case ValueType::kByte:
      root_folder_ = std::move(value);
      return;
    default:
      throw RunTimeError(kInvalidPropertyValue);
  }
}

int16_t CommonDialog::Action() const {
  throw RunTimeError(kGetNotSupported, u"Property is write-only");
}

void CommonDialog::SetAction(int16_t value) {
  switch (value) {
    case kActionOpen:
      ShowOpen();
      return;
    case kActionSave:
      ShowSave();
      return;
    case kActionColor:
      ShowColor();
      return;
    case kActionFont:
      ShowFont();
      return;
    case kActionPrinter:
      ShowPrinter();
      return;
    case kActionHelp:
      ShowHelp();
      return;
    case kActionPageSetup:
      ShowPageSetup();
      return;
    case kActionFolderBrowser:
      ShowFolderBrowser();
      return;
    case kActionFind:
      ShowFind();
      return;
    case kActionReplace:
      ShowReplace();
      return;
    default:
      throw RunTimeError(kInvalidPropertyValue);
  }
}

UINT CommonDialog::Registered(UINT& slot, const wchar_t* name) noexcept {
  if (slot == 0) slot = RegisterWindowMessageW(name);
  return slot;
}

bool CommonDialog::FailCancelled() const {
  if (cancel_error_) throw CancelSelectedError();
  return false;
}

LRESULT STDMETHODCALLTYPE CommonDialog::OwnerReceiver::Message(HWND owner, UINT message,
                                                               WPARAM w_param, LPARAM l_param,
                                                               DWORD_PTR ref_data) {
  // An event handler may delete the dialog: it goes when this call returns.
  const controls::CallScope call(dialog_);
  return (dialog_.*handler_)(owner, message, w_param, l_param, controls::RefNumber(ref_data));
}

LRESULT CommonDialog::OnHelpOwnerMessage(HWND owner, UINT message, WPARAM w_param, LPARAM l_param,
                                         LONG_PTR kind) {
  // Help from the open find or replace dialog is its own subclass's to raise.
  const auto from = reinterpret_cast<HWND>(w_param);
  if (help_message_ != 0 && message == help_message_ &&
      (from == nullptr || from != find_replace_dialog_)) {
    RaiseHelp(static_cast<int16_t>(kind & 0xFFFF), from);
  }
  return controls::DefaultWindowProc(owner, message, w_param, l_param);
}

LRESULT CommonDialog::OnFindOwnerMessage(HWND owner, UINT message, WPARAM w_param, LPARAM l_param,
                                         LONG_PTR kind) {
  if (find_replace_message_ != 0 && message == find_replace_message_) {
    return OnFindReplaceMessage(owner, message, w_param, l_param, kind);
  }
  if (help_message_ != 0 && message == help_message_ &&
      reinterpret_cast<HWND>(w_param) == find_replace_dialog_) {
    RaiseHelp(static_cast<int16_t>(kind & 0xFFFF), reinterpret_cast<HWND>(w_param));
  }
  return controls::DefaultWindowProc(owner, message, w_param, l_param);
}

void CommonDialog::RaiseHelp(int16_t action, HWND dialog) {
  bool handled = false;
  RaiseKeepingFocus([&] {
    if (events_) events_->Help(handled, action, dialog);
  });
  if (handled) return;
  try {
    ShowHelp();
  } catch (...) {
    // A failing help call must not break the dialog's message loop.
    controls::ReportCaughtError(L"the Help event");
  }
}

}  // namespace veltrin::dialogs
