// CommonDialog: fill its properties, call one Show method (or set Action), read the results back
// from the same properties. Dialog failures raise numbered RunTimeErrors with fixed texts.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/base/gdi_handles.h"
#include "controls/base/host/property_value.h"
#include "controls/base/subclass.h"
#include "controls/base/window/call_guard.h"
#include "dialogs/common_dialog_events.h"

namespace veltrin::dialogs {

struct PrinterSettings;
class InitDialogHook;

// The dialog numbers: the Action values, the Action argument of the events and the owner-subclass
// reference data.
enum DialogAction : int16_t {
  kActionOpen = 1,
  kActionSave = 2,
  kActionColor = 3,
  kActionFont = 4,
  kActionPrinter = 5,
  kActionHelp = 6,
  kActionPageSetup = 7,
  kActionFolderBrowser = 8,
  kActionFind = 9,
  kActionReplace = 10,
};

template <DialogAction>
class KindHook;

// The length declared for the find and replace texts' buffers.
inline constexpr WORD kFindReplaceLength = 256;

// Bits of the default-field mask (DEVMODE dmFields layout) of the printer properties not yet set.
inline constexpr int32_t kDefaultPrinterFields = 0x1E03;

// A dialog deleted from inside one of its own events (or while a Show call runs) must go through
// CommonDialogPtr or CallGuarded::Delete: it is then deleted when the outermost call returns.
class CommonDialog : public controls::CallGuarded {
 public:
  CommonDialog();
  ~CommonDialog() override;
  CommonDialog(const CommonDialog&) = delete;
  CommonDialog& operator=(const CommonDialog&) = delete;

  // Events go to `events` (null for none); the sink must outlive the dialogs it watches.
  void SetEventSink(CommonDialogEvents* events) noexcept { events_ = events; }

  // Properties. Setters that reject a value raise RunTimeError 380 (383 for the read-only ones)
  // and keep the old value.
  CommonDialog& Object() noexcept { return *this; }
  bool CancelError() const noexcept { return cancel_error_; }
  void SetCancelError(bool value) noexcept { cancel_error_ = value; }
  bool HookEvents() const noexcept { return hook_events_; }
  void SetHookEvents(bool value) noexcept { hook_events_ = value; }
  const std::wstring& Tag() const noexcept { return tag_; }
  void SetTag(std::wstring value) { tag_ = std::move(value); }
  HDC hdc() const noexcept { return hdc_.Get(); }
  [[noreturn]] void Sethdc(HDC value);
  int32_t Flags() const noexcept { return flags_; }
  void SetFlags(int32_t value) noexcept { flags_ = value; }
  const std::wstring& DialogTitle() const noexcept { return dialog_title_; }
  void SetDialogTitle(std::wstring value) { dialog_title_ = std::move(value); }
  int32_t MaxFileSize() const noexcept { return max_file_size_; }
  void SetMaxFileSize(int32_t value);
  const std::wstring& FileName() const noexcept { return file_name_; }
  void SetFileName(std::wstring value) { file_name_ = std::move(value); }
  const std::wstring& FileTitle() const noexcept { return file_title_; }
  [[noreturn]] void SetFileTitle(const std::wstring& value);
  int16_t FileOffset() const noexcept { return file_offset_; }
  [[noreturn]] void SetFileOffset(int16_t value);
  const std::wstring& Filter() const noexcept { return filter_; }
  void SetFilter(std::wstring value) { filter_ = std::move(value); }
  int32_t FilterIndex() const noexcept { return filter_index_; }
  void SetFilterIndex(int32_t value);
  const std::wstring& InitDir() const noexcept { return init_dir_; }
  void SetInitDir(std::wstring value) { init_dir_ = std::move(value); }
  const std::wstring& DefaultExt() const noexcept { return default_ext_; }
  void SetDefaultExt(std::wstring value) { default_ext_ = std::move(value); }
  int32_t Color() const noexcept { return color_; }
  void SetColor(int32_t value) noexcept { color_ = value; }
  const std::wstring& FontName() const noexcept { return font_name_; }
  void SetFontName(std::wstring value) { font_name_ = std::move(value); }
  float FontSize() const noexcept { return font_size_; }
  void SetFontSize(float value) noexcept { font_size_ = value; }
  bool FontBold() const noexcept { return font_bold_; }
  void SetFontBold(bool value) noexcept { font_bold_ = value; }
  bool FontItalic() const noexcept { return font_italic_; }
  void SetFontItalic(bool value) noexcept { font_italic_ = value; }
  bool FontStrikethru() const noexcept { return font_strikethru_; }
  void SetFontStrikethru(bool value) noexcept { font_strikethru_ = value; }
  bool FontUnderline() const noexcept { return font_underline_; }
  void SetFontUnderline(bool value) noexcept { font_underline_ = value; }
  int16_t FontCharset() const noexcept { return font_charset_; }
  void SetFontCharset(int16_t value) noexcept { font_charset_ = value; }
  int32_t Min() const noexcept { return min_; }
  void SetMin(int32_t value);
  int32_t Max() const noexcept { return max_; }
  void SetMax(int32_t value);
  int32_t FromPage() const noexcept { return from_page_; }
  void SetFromPage(int32_t value);
  int32_t ToPage() const noexcept { return to_page_; }
  void SetToPage(int32_t value);
  int32_t Orientation() const noexcept { return orientation_; }
  void SetOrientation(int32_t value);
  int32_t PaperSize() const noexcept { return paper_size_; }
  void SetPaperSize(int32_t value);
  int16_t Copies() const noexcept { return copies_; }
  void SetCopies(int16_t value);
  int32_t PaperBin() const noexcept { return paper_bin_; }
  void SetPaperBin(int32_t value);
  int32_t PrintQuality() const noexcept { return print_quality_; }
  void SetPrintQuality(int32_t value);
  int32_t ColorMode() const noexcept { return color_mode_; }
  void SetColorMode(int32_t value);
  int32_t Duplex() const noexcept { return duplex_; }
  void SetDuplex(int32_t value);
  bool PrinterDefault() const noexcept { return printer_default_; }
  void SetPrinterDefault(bool value) noexcept { printer_default_ = value; }
  bool PrinterDefaultInit() const noexcept { return printer_default_init_; }
  void SetPrinterDefaultInit(bool value) noexcept { printer_default_init_ = value; }
  const std::wstring& PrinterDriver() const noexcept { return printer_driver_; }
  void SetPrinterDriver(std::wstring value) { printer_driver_ = std::move(value); }
  const std::wstring& PrinterName() const noexcept { return printer_name_; }
  void SetPrinterName(std::wstring value) { printer_name_ = std::move(value); }
  const std::wstring& PrinterPort() const noexcept { return printer_port_; }
  void SetPrinterPort(std::wstring value) { printer_port_ = std::move(value); }
  const std::wstring& HelpFile() const noexcept { return help_file_; }
  void SetHelpFile(std::wstring value) { help_file_ = std::move(value); }
  int32_t HelpCommand() const noexcept { return help_command_; }
  void SetHelpCommand(int32_t value);
  int32_t HelpContext() const noexcept { return help_context_; }
  void SetHelpContext(int32_t value) noexcept { help_context_ = value; }
  const std::wstring& HelpKey() const noexcept { return help_key_; }
  void SetHelpKey(std::wstring value) { help_key_ = std::move(value); }
  int32_t PageLeftMargin() const noexcept { return margins_.left; }
  void SetPageLeftMargin(int32_t value);
  int32_t PageTopMargin() const noexcept { return margins_.top; }
  void SetPageTopMargin(int32_t value);
  int32_t PageRightMargin() const noexcept { return margins_.right; }
  void SetPageRightMargin(int32_t value);
  int32_t PageBottomMargin() const noexcept { return margins_.bottom; }
  void SetPageBottomMargin(int32_t value);
  int32_t PageLeftMinMargin() const noexcept { return min_margins_.left; }
  void SetPageLeftMinMargin(int32_t value);
  int32_t PageTopMinMargin() const noexcept { return min_margins_.top; }
  void SetPageTopMinMargin(int32_t value);
  int32_t PageRightMinMargin() const noexcept { return min_margins_.right; }
  void SetPageRightMinMargin(int32_t value);
  int32_t PageBottomMinMargin() const noexcept { return min_margins_.bottom; }
  void SetPageBottomMinMargin(int32_t value);
  const controls::PropertyValue& RootFolder() const noexcept { return root_folder_; }
  void SetRootFolder(controls::PropertyValue value);
  const std::wstring& FindWhat() const noexcept { return find_what_; }
  void SetFindWhat(std::wstring value) { find_what_ = std::move(value); }
  const std::wstring& ReplaceWith() const noexcept { return replace_with_; }
  void SetReplaceWith(std::wstring value) { replace_with_ = std::move(value); }
  // Write-only: reading raises 394 "Property is write-only".
  [[noreturn]] int16_t Action() const;
  // Runs the dialog of `value` (1 to 10) and discards its result; any other value raises 380.
  void SetAction(int16_t value);

  // The colour dialog's custom colours as the last ShowColor left them (all 0 before the first).
  const std::array<COLORREF, 16>& CustomColors() const noexcept { return custom_colors_; }
  // The printer properties that no set has touched yet, as DEVMODE dmFields bits.
  int32_t DefaultPrinterFields() const noexcept { return default_fields_; }

  // Methods. The Boolean ones return true when the user confirmed and the result properties were
  // updated, false when the user cancelled and CancelError is false (CancelError true raises
  // 32755 "Cancel was selected."); every other failure raises its numbered error.
  bool ShowOpen();
  bool ShowSave();
  bool ShowColor();
  bool ShowFont();
  bool ShowPrinter();
  // Returns 0 (cancel), 1 (print) or 2 (apply).
  int32_t ShowPrinterEx();
  void ShowHelp();
  bool ShowPageSetup();
  bool ShowFolderBrowser();
  // Return the modeless dialog, or null while one of this instance is still open.
  HWND ShowFind();
  HWND ShowReplace();

 private:
  // The dialog kinds' hook handlers (dialogs/dialog_hooks.h).
  friend class DialogHook;
  friend class FileHook;
  friend class InitDialogHook;
  template <DialogAction>
  friend class KindHook;

  // A subclass of a dialog's owner window: hands the owner's messages, with the subclass's
  // reference number (the dialog kind, 1 to 10), to one of the owner handlers below.
  class OwnerReceiver final : public controls::SubclassReceiver {
   public:
    using Handler = LRESULT (CommonDialog::*)(HWND, UINT, WPARAM, LPARAM, LONG_PTR);
    OwnerReceiver(CommonDialog& dialog, Handler handler) noexcept
        : SubclassReceiver(static_cast<controls::CallGuarded&>(dialog)),
          dialog_(dialog),
          handler_(handler) {}
    LRESULT STDMETHODCALLTYPE Message(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                      DWORD_PTR ref_data) override;

   private:
    CommonDialog& dialog_;
    Handler handler_;
  };

  struct Margins {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
  };

  bool ShowFileDialog(DialogAction action);
  // The owner of a modal dialog with a Help button: Help for the dialog kind `kind`, except the
  // open find or replace dialog's own Help.
  LRESULT OnHelpOwnerMessage(HWND owner, UINT message, WPARAM w_param, LPARAM l_param,
                             LONG_PTR kind);
  // The owner of the open find or replace dialog (a subclass of its own, apart from the Help
  // subclass that a modal dialog puts on the same owner): its commands and its Help.
  LRESULT OnFindOwnerMessage(HWND owner, UINT message, WPARAM w_param, LPARAM l_param,
                             LONG_PTR kind);
  LRESULT OnFindReplaceMessage(HWND owner, UINT message, WPARAM w_param, LPARAM l_param,
                               LONG_PTR ref_number);
  HWND ShowFindReplace(DialogAction action);
  void CloseFindReplace() noexcept;
  // Undoes what ShowFindReplace set up (subclasses, modeless registration) and clears the state.
  void ForgetFindReplace() noexcept;
  // Sees the find or replace dialog's destruction, however it comes (its owner destroyed too).
  static LRESULT CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM w_param, LPARAM l_param,
                                         UINT_PTR id, DWORD_PTR ref_data) noexcept;
  // Raises Help for `action` and, unless the handler took it, runs ShowHelp.
  void RaiseHelp(int16_t action, HWND dialog);

  // Runs `call` with the owner subclassed for Help when `helpFlag` is in Flags.
  template <typename Call>
  auto WithHelpSubclass(HWND owner, int32_t help_flag, DialogAction action, Call call);
  // Returns the registered message `name`, registering it on first use.
  UINT Registered(UINT& slot, const wchar_t* name) noexcept;
  // Returns false for a cancel with CancelError false; raises for everything else.
  bool FailCancelled() const;
  // Saves the focus, runs the event, gives the focus back if the handler moved it.
  template <typename Raise>
  void RaiseKeepingFocus(Raise raise);
  void SetPrinterField(int32_t& field, int32_t value, int32_t bit, bool valid);
  PrinterSettings CurrentPrinterSettings() const;
  PRINTDLGW MakePrintRecord(HWND owner, InitDialogHook& hook);
  // Copies the printer chosen and the returned DEVMODE fields into the properties.
  void ApplyPrinterBlocks(HGLOBAL dev_mode, HGLOBAL dev_names, DWORD returned_flags);
  void TakeDevModeField(const DEVMODEW& mode, DWORD bit, int32_t& property, int32_t value) noexcept;
  // Keeps `dc` in hdc (deleting the old one) when Flags asks for a device or information context.
  void KeepDeviceContext(HDC dc) noexcept;

  CommonDialogEvents* events_ = nullptr;  // where events go; null for none
  bool cancel_error_ = false;
  bool hook_events_ = false;
  std::wstring tag_;
  controls::UniqueDeviceContext hdc_;  // deleted when replaced and at destruction
  int32_t flags_ = 0;
  std::wstring dialog_title_;
  int32_t max_file_size_ = 260;
  std::wstring file_name_;
  std::wstring file_title_;
  int16_t file_offset_ = 0;
  std::wstring filter_;
  int32_t filter_index_ = 0;
  std::wstring init_dir_;
  std::wstring default_ext_;
  int32_t color_ = 0;
  std::wstring font_name_;
  float font_size_ = 8.0F;
  bool font_bold_ = false;
  bool font_italic_ = false;
  bool font_strikethru_ = false;
  bool font_underline_ = false;
  int16_t font_charset_ = 0;
  int32_t min_ = 0;
  int32_t max_ = 0;
  int32_t from_page_ = 0;
  int32_t to_page_ = 0;
  int32_t orientation_ = DMORIENT_PORTRAIT;
  int32_t paper_size_;  // set from the user locale's measurement system
  int16_t copies_ = 1;
  int32_t paper_bin_ = DMBIN_AUTO;
  int32_t print_quality_ = DMRES_HIGH;
  int32_t color_mode_ = DMCOLOR_COLOR;
  int32_t duplex_ = DMDUP_SIMPLEX;
  bool printer_default_ = true;
  bool printer_default_init_ = true;
  std::wstring printer_driver_;
  std::wstring printer_name_;
  std::wstring printer_port_;
  std::wstring help_file_;
  int32_t help_command_ = 0;
  int32_t help_context_ = 0;
  std::wstring help_key_;
  Margins margins_;
  Margins min_margins_;
  controls::PropertyValue root_folder_;
  std::wstring find_what_;
  std::wstring replace_with_;
  int32_t default_fields_ = kDefaultPrinterFields;  // printer properties still at their defaults

  // Registered message numbers, 0 until first needed.
  UINT help_message_ = 0;
  UINT share_violation_message_ = 0;
  UINT file_name_ok_message_ = 0;
  UINT color_ok_message_ = 0;
  UINT set_rgb_color_message_ = 0;
  UINT find_replace_message_ = 0;

  OwnerReceiver help_owner_receiver_{*this, &CommonDialog::OnHelpOwnerMessage};

  std::array<COLORREF, 16> custom_colors_{};  // the colour dialog's custom row, kept per instance
  bool custom_colors_filled_ = false;

  // The open modeless find or replace dialog and what it points into.
  FINDREPLACEW find_replace_{};
  HWND find_replace_dialog_ = nullptr;
  HWND find_replace_owner_ = nullptr;  // the window subclassed for the dialog's commands
  DialogAction find_replace_action_ = kActionFind;
  OwnerReceiver find_owner_receiver_{*this, &CommonDialog::OnFindOwnerMessage};
  std::unique_ptr<InitDialogHook> find_hook_;  // the open dialog's hook handler, when hooked
  // The record declares each buffer's length as its number of characters: Windows reads that
  // number as bytes, Wine as characters, and either reading stays inside the buffer.
  std::array<wchar_t, kFindReplaceLength> find_buffer_{};
  std::array<wchar_t, kFindReplaceLength> replace_buffer_{};
};

// Deletes a dialog now, or when the event or Show call that runs on it returns.
struct CommonDialogDeleter {
  void operator()(CommonDialog* dialog) const noexcept {
    controls::CallGuarded::Delete(std::unique_ptr<CommonDialog>(dialog));
  }
};
using CommonDialogPtr = std::unique_ptr<CommonDialog, CommonDialogDeleter>;

}  // namespace veltrin::dialogs
