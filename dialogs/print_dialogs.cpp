// ShowPrinter, ShowPrinterEx and ShowPageSetup: the printer blocks go to the dialog and come back
// into the printer properties; every block is freed on every path.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "controls/base/global_memory.h"
#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_hooks.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/owner_window.h"
#include "dialogs/print_dialog_callback.h"
#include "dialogs/print_dialog_functions.h"
#include "dialogs/printer_blocks.h"

namespace veltrin::dialogs {
namespace {

using controls::GlobalMemory;

std::vector<std::byte> BytesOf(const DEVMODEW& mode) {
  const auto* first = reinterpret_cast<const std::byte*>(&mode);
  return std::vector<std::byte>(first, first + sizeof(mode));
}

// The two blocks of one dialog call; what the dialog hands back replaces what went in.
struct PrinterBlocks {
  GlobalMemory dev_mode;
  GlobalMemory dev_names;

  // Owns the blocks the record names after the call (a dialog frees what it replaces).
  void TakeBack(HGLOBAL returned_mode, HGLOBAL returned_names) noexcept {
    dev_mode.TakeBack(returned_mode);
    dev_names.TakeBack(returned_names);
  }
};

PrinterBlocks MakeBlocks(const PrinterSettings& settings, int32_t flags, bool page_setup) {
  PrinterBlocks blocks;
  if ((flags & PD_RETURNDEFAULT) != 0) return blocks;
  blocks.dev_mode = GlobalMemory::Copy(BytesOf(MakeDevMode(settings, page_setup)));
  if (auto names = MakeDevNames(settings)) blocks.dev_names = GlobalMemory::Copy(*names);
  return blocks;
}

DEVMODEW ReadDevMode(HGLOBAL memory) {
  DEVMODEW mode{};
  const std::vector<std::byte> bytes = controls::CopyFromGlobal(memory);
  std::memcpy(&mode, bytes.data(), std::min(bytes.size(), sizeof(mode)));
  return mode;
}

}  // namespace

PrintDialogFunctions& PrintDialogs() noexcept {
  static PrintDialogFunctions functions;
  return functions;
}

PrinterSettings CommonDialog::CurrentPrinterSettings() const {
  PrinterSettings settings;
  settings.orientation = orientation_;
  settings.paper_size = paper_size_;
  settings.copies = copies_;
  settings.paper_bin = paper_bin_;
  settings.print_quality = print_quality_;
  settings.color_mode = color_mode_;
  settings.duplex = duplex_;
  settings.default_fields = default_fields_;
  settings.collate = (flags_ & PD_COLLATE) != 0;
  settings.driver = printer_driver_;
  settings.name = printer_name_;
  settings.port = printer_port_;
  settings.default_init = printer_default_init_;
  return settings;
}

void CommonDialog::ApplyPrinterBlocks(HGLOBAL dev_mode_memory, HGLOBAL dev_names_memory,
                                      DWORD returned_flags) {
  const DEVMODEW mode = ReadDevMode(dev_mode_memory);
  const ChosenPrinter printer = ReadDevNames(controls::CopyFromGlobal(dev_names_memory));
  if (printer.is_default) {
    printer_driver_.clear();
    printer_name_.clear();
    printer_port_.clear();
  } else {
    printer_driver_ = printer.driver;
    printer_name_ = printer.name;
    printer_port_ = printer.port;
    if (printer_default_) {
      MakeDefaultPrinter(printer_name_);
      printer_driver_.clear();
      printer_name_.clear();
      printer_port_.clear();
    }
  }
  if ((mode.dmFields & DM_COLLATE) != 0 && (returned_flags & PD_USEDEVMODECOPIESANDCOLLATE) != 0 &&
      mode.dmCollate == DMCOLLATE_TRUE && (returned_flags & PD_COLLATE) == 0) {
    flags_ |= PD_COLLATE;
  }
  TakeDevModeField(mode, DM_ORIENTATION, orientation_, mode.dmOrientation);
  TakeDevModeField(mode, DM_PAPERSIZE, paper_size_, mode.dmPaperSize);
  if ((mode.dmFields & DM_COPIES) != 0) copies_ = mode.dmCopies;
  TakeDevModeField(mode, DM_DEFAULTSOURCE, paper_bin_, mode.dmDefaultSource);
  TakeDevModeField(mode, DM_PRINTQUALITY, print_quality_, mode.dmPrintQuality);
  TakeDevModeField(mode, DM_COLOR, color_mode_, mode.dmColor);
  TakeDevModeField(mode, DM_DUPLEX, duplex_, mode.dmDuplex);
}

void CommonDialog::TakeDevModeField(const DEVMODEW& mode, DWORD bit, int32_t& property,
                                    int32_t value) noexcept {
  if ((mode.dmFields & bit) == 0) return;
  property = value;
  default_fields_ &= ~static_cast<int32_t>(bit);
}

void CommonDialog::KeepDeviceContext(HDC dc) noexcept {
  if ((flags_ & (PD_RETURNDC | PD_RETURNIC)) == 0) return;
  hdc_.Reset(dc);
}

PRINTDLGW CommonDialog::MakePrintRecord(HWND owner, InitDialogHook& hook) {
  PRINTDLGW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.Flags = static_cast<DWORD>(flags_);
  record.nFromPage = static_cast<WORD>(from_page_ & 0xFFFF);
  record.nToPage = static_cast<WORD>(to_page_ & 0xFFFF);
  record.nMinPage = static_cast<WORD>(min_ & 0xFFFF);
  record.nMaxPage = static_cast<WORD>(max_ & 0xFFFF);
  record.nCopies = static_cast<WORD>(copies_);
  if (hook_events_) {
    record.Flags |= PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    record.lpfnPrintHook = hook.HookFor(record);
    record.lpfnSetupHook = record.lpfnPrintHook;
  }
  return record;
}

bool CommonDialog::ShowPrinter() {
  const controls::CallScope call(*this);  // an event may delete the dialog meanwhile
  const HWND owner = DialogOwnerWindow();
  PrinterBlocks blocks = MakeBlocks(CurrentPrinterSettings(), flags_, false);
  InitDialogHook hook(*this, kActionPrinter);
  PRINTDLGW record = MakePrintRecord(owner, hook);
  record.hDevMode = blocks.dev_mode.Get();
  record.hDevNames = blocks.dev_names.Get();
  const BOOL chosen = WithHelpSubclass(owner, PD_SHOWHELP, kActionPrinter,
                                       [&] { return PrintDialogs().print_dlg(&record); });
  // The dialog may have replaced either block: own whatever the record names now.
  blocks.TakeBack(record.hDevMode, record.hDevNames);
  if (!chosen) {
    const DWORD code = DialogExtendedError(DialogKind::kPrint);
    if (code == 0) return FailCancelled();
    throw DialogError(DialogKind::kPrint, code);
  }
  flags_ = static_cast<int32_t>(record.Flags &
                                ~static_cast<DWORD>(PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK));
  ApplyPrinterBlocks(blocks.dev_mode.Get(), blocks.dev_names.Get(), record.Flags);
  from_page_ = record.nFromPage;
  to_page_ = record.nToPage;
  min_ = record.nMinPage;
  max_ = record.nMaxPage;
  KeepDeviceContext(record.hDC);
  return true;
}

int32_t CommonDialog::ShowPrinterEx() {
  const controls::CallScope call(*this);  // an event may delete the dialog meanwhile
  const HWND owner = DialogOwnerWindow();
  PrinterBlocks blocks = MakeBlocks(CurrentPrinterSettings(), flags_, false);
  PRINTPAGERANGE range{static_cast<DWORD>(from_page_), static_cast<DWORD>(to_page_)};
  PRINTDLGEXW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.hDevMode = blocks.dev_mode.Get();
  record.hDevNames = blocks.dev_names.Get();
  record.Flags = static_cast<DWORD>(flags_);
  record.nPageRanges = 1;
  record.nMaxPageRanges = 1;
  record.lpPageRanges = &range;
  record.nMinPage = static_cast<DWORD>(min_);
  record.nMaxPage = static_cast<DWORD>(max_);
  record.nCopies = static_cast<DWORD>(copies_);
  record.nStartPage = START_PAGE_GENERAL;
  InitDialogHook hook(*this, kActionPrinter);
  IUnknown* callback = hook_events_ ? CreatePrintDialogCallback(hook) : nullptr;
  if (callback != nullptr) callback->AddRef();  // ours until the call returns
  record.lpCallback = callback;
  const HRESULT status = PrintDialogs().print_dlg_ex(&record);
  if (callback != nullptr) callback->Release();
  blocks.TakeBack(record.hDevMode, record.hDevNames);
  if (FAILED(status)) throw PrintExError(status);
  if (record.dwResultAction == PD_RESULT_CANCEL && (flags_ & PD_RETURNDEFAULT) == 0) {
    if (cancel_error_) throw CancelSelectedError();
    return 0;
  }
  flags_ = static_cast<int32_t>(record.Flags);
  ApplyPrinterBlocks(blocks.dev_mode.Get(), blocks.dev_names.Get(), record.Flags);
  from_page_ = static_cast<int32_t>(range.nFromPage);
  to_page_ = static_cast<int32_t>(range.nToPage);
  min_ = static_cast<int32_t>(record.nMinPage);
  max_ = static_cast<int32_t>(record.nMaxPage);
  KeepDeviceContext(record.hDC);
  return static_cast<int32_t>(record.dwResultAction);
}

bool CommonDialog::ShowPageSetup() {
  const controls::CallScope call(*this);  // an event may delete the dialog meanwhile
  const HWND owner = DialogOwnerWindow();
  PrinterBlocks blocks = MakeBlocks(CurrentPrinterSettings(), flags_, true);
  InitDialogHook hook(*this, kActionPageSetup);
  PAGESETUPDLGW record{};
  record.lStructSize = sizeof(record);
  record.hwndOwner = owner;
  record.hDevMode = blocks.dev_mode.Get();
  record.hDevNames = blocks.dev_names.Get();
  record.Flags = static_cast<DWORD>(flags_);
  record.rtMinMargin = {min_margins_.left, min_margins_.top, min_margins_.right,
                        min_margins_.bottom};
  record.rtMargin = {margins_.left, margins_.top, margins_.right, margins_.bottom};
  if (hook_events_) {
    record.Flags |= PSD_ENABLEPAGESETUPHOOK;
    record.lpfnPageSetupHook = hook.HookFor(record);
  }
  const BOOL chosen = WithHelpSubclass(owner, PSD_SHOWHELP, kActionPageSetup,
                                       [&] { return PrintDialogs().page_setup_dlg(&record); });
  blocks.TakeBack(record.hDevMode, record.hDevNames);
  if (!chosen) {
    const DWORD code = DialogExtendedError(DialogKind::kPageSetup);
    if (code == 0) return FailCancelled();
    throw DialogError(DialogKind::kPageSetup, code);
  }
  flags_ = static_cast<int32_t>(record.Flags & ~static_cast<DWORD>(PSD_ENABLEPAGESETUPHOOK));
  const DEVMODEW mode = ReadDevMode(blocks.dev_mode.Get());
  TakeDevModeField(mode, DM_ORIENTATION, orientation_, mode.dmOrientation);
  TakeDevModeField(mode, DM_PAPERSIZE, paper_size_, mode.dmPaperSize);
  TakeDevModeField(mode, DM_DEFAULTSOURCE, paper_bin_, mode.dmDefaultSource);
  margins_ = {record.rtMargin.left, record.rtMargin.top, record.rtMargin.right,
              record.rtMargin.bottom};
  return true;
}

}  // namespace veltrin::dialogs
