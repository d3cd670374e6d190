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
  bool CancelError() const noexcept { return cancelError_; }
  void SetCancelError(bool value) noexcept { cancelError_ = value; }
  bool HookEvents() const noexcept { return hookEvents_; }
  void SetHookEvents(bool value) noexcept { hookEvents_ = value; }
  const std::wstring& Tag() const noexcept { return tag_; }
  void SetTag(std::wstring value) { tag_ = std::move(value); }
  HDC hdc() const noexcept { return hdc_.Get(); }
  [[noreturn]] void Sethdc(HDC value);
  int32_t Flags() const noexcept { return flags_; }
  void SetFlags(int32_t value) noexcept { flags_ = value; }
  const std::wstring& DialogTitle() const noexcept { return dialogTitle_; }
  void SetDialogTitle(std::wstring value) { dialogTitle_ = std::move(value); }
  int32_t MaxFileSize() const noexcept { return maxFileSize_; }
  void SetMaxFileSize(int32_t value);
  const std::wstring& FileName() const noexcept { return fileName_; }
  void SetFileName(std::wstring value) { fileName_ = std::move(value); }
  const std::wstring& FileTitle() const noexcept { return fileTitle_; }
  [[noreturn]] void SetFileTitle(const std::wstring& value);
  int16_t FileOffset() const noexcept { return fileOffset_; }
  [[noreturn]] void SetFileOffset(int16_t value);
  const std::wstring& Filter() const noexcept { return filter_; }
  void SetFilter(std::wstring value) { filter_ = std::move(value); }
  int32_t FilterIndex() const noexcept { return filterIndex_; }
  void SetFilterIndex(int32_t value);
  const std::wstring& InitDir() const noexcept { return initDir_; }
  void SetInitDir(std::wstring value) { initDir_ = std::move(value); }
  const std::wstring& DefaultExt() const noexcept { return defaultExt_; }
  void SetDefaultExt(std::wstring value) { defaultExt_ = std::move(value); }
  int32_t Color() const noexcept { return color_; }
  void SetColor(int32_t value) noexcept { color_ = value; }
  const std::wstring& FontName() const noexcept { return fontName_; }
  void SetFontName(std::wstring value) { fontName_ = std::move(value); }
  float FontSize() const noexcept { return fontSize_; }
  void SetFontSize(float value) noexcept { fontSize_ = value; }
  bool FontBold() const noexcept { return fontBold_; }
  void SetFontBold(bool value) noexcept { fontBold_ = value; }
  bool FontItalic() const noexcept { return fontItalic_; }
  void SetFontItalic(bool value) noexcept { fontItalic_ = value; }
  bool FontStrikethru() const noexcept { return fontStrikethru_; }
  void SetFontStrikethru(bool value) noexcept { fontStrikethru_ = value; }
  bool FontUnderline() const noexcept { return fontUnderline_; }
  void SetFontUnderline(bool value) noexcept { fontUnderline_ = value; }
  int16_t FontCharset() const noexcept { return fontCharset_; }
  void SetFontCharset(int16_t value) noexcept { fontCharset_ = value; }
  int32_t Min() const noexcept { return min_; }
  void SetMin(int32_t value);
  int32_t Max() const noexcept { return max_; }
  void SetMax(int32_t value);
  int32_t FromPage() const noexcept { return fromPage_; }
  void SetFromPage(int32_t value);
  int32_t ToPage() const noexcept { return toPage_; }
  void SetToPage(int32_t value);
  int32_t Orientation() const noexcept { return orientation_; }
  void SetOrientation(int32_t value);
  int32_t PaperSize() const noexcept { return paperSize_; }
  void SetPaperSize(int32_t value);
  int16_t Copies() const noexcept { return copies_; }
  void SetCopies(int16_t value);
  int32_t PaperBin() const noexcept { return paperBin_; }
  void SetPaperBin(int32_t value);
  int32_t PrintQuality() const noexcept { return printQuality_; }
  void SetPrintQuality(int32_t value);
  int32_t ColorMode() const noexcept { return colorMode_; }
  void SetColorMode(int32_t value);
  int32_t Duplex() const noexcept { return duplex_; }
  void SetDuplex(int32_t value);
  bool PrinterDefault() const noexcept { return printerDefault_; }
  void SetPrinterDefault(bool value) noexcept { printerDefault_ = value; }
  bool PrinterDefaultInit() const noexcept { return printerDefaultInit_; }
  void SetPrinterDefaultInit(bool value) noexcept { printerDefaultInit_ = value; }
  const std::wstring& PrinterDriver() const noexcept { return printerDriver_; }
  void SetPrinterDriver(std::wstring value) { printerDriver_ = std::move(value); }
  const std::wstring& PrinterName() const noexcept { return printerName_; }
  void SetPrinterName(std::wstring value) { printerName_ = std::move(value); }
  const std::wstring& PrinterPort() const noexcept { return printerPort_; }
  void SetPrinterPort(std::wstring value) { printerPort_ = std::move(value); }
  const std::wstring& HelpFile() const noexcept { return helpFile_; }
  void SetHelpFile(std::wstring value) { helpFile_ = std::move(value); }
  int32_t HelpCommand() const noexcept { return helpCommand_; }
  void SetHelpCommand(int32_t value);
  int32_t HelpContext() const noexcept { return helpContext_; }
  void SetHelpContext(int32_t value) noexcept { helpContext_ = value; }
  const std::wstring& HelpKey() const noexcept { return helpKey_; }
  void SetHelpKey(std::wstring value) { helpKey_ = std::move(value); }
  int32_t PageLeftMargin() const noexcept { return margins_.left; }
  void SetPageLeftMargin(int32_t value);
  int32_t PageTopMargin() const noexcept { return margins_.top; }
  void SetPageTopMargin(int32_t value);
  int32_t PageRightMargin() const noexcept { return margins_.right; }
  void SetPageRightMargin(int32_t value);
  int32_t PageBottomMargin() const noexcept { return margins_.bottom; }
  void SetPageBottomMargin(int32_t value);
  int32_t PageLeftMinMargin() const noexcept { return minMargins_.left; }
  void SetPageLeftMinMargin(int32_t value);
  int32_t PageTopMinMargin() const noexcept { return minMargins_.top; }
  void SetPageTopMinMargin(int32_t value);
  int32_t PageRightMinMargin() const noexcept { return minMargins_.right; }
  void SetPageRightMinMargin(int32_t value);
  int32_t PageBottomMinMargin() const noexcept { return minMargins_.bottom; }
  void SetPageBottomMinMargin(int32_t value);
  const controls::PropertyValue& RootFolder() const noexcept { return rootFolder_; }
  void SetRootFolder(controls::PropertyValue value);
  const std::wstring& FindWhat() const noexcept { return findWhat_; }
  void SetFindWhat(std::wstring value) { findWhat_ = std::move(value); }
  const std::wstring& ReplaceWith() const noexcept { return replaceWith_; }
  void SetReplaceWith(std::wstring value) { replaceWith_ = std::move(value); }
  // Write-only: reading raises 394 "Property is write-only".
  [[noreturn]] int16_t Action() const;
  // Runs the dialog of `value` (1 to 10) and discards its result; any other value raises 380.
  void SetAction(int16_t value);

  // The colour dialog's custom colours as the last ShowColor left them (all 0 before the first).
  const std::array<COLORREF, 16>& CustomColors() const noexcept { return customColors_; }
  // The printer properties that no set has touched yet, as DEVMODE dmFields bits.
  int32_t DefaultPrinterFields() const noexcept { return defaultFields_; }

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
    LRESULT STDMETHODCALLTYPE Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      DWORD_PTR refData) override;

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
  LRESULT OnHelpOwnerMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam, LONG_PTR kind);
  // The owner of the open find or replace dialog (a subclass of its own, apart from the Help
  // subclass that a modal dialog puts on the same owner): its commands and its Help.
  LRESULT OnFindOwnerMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam, LONG_PTR kind);
  LRESULT OnFindReplaceMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam,
                               LONG_PTR refNumber);
  HWND ShowFindReplace(DialogAction action);
  void CloseFindReplace() noexcept;
  // Undoes what ShowFindReplace set up (subclasses, modeless registration) and clears the state.
  void ForgetFindReplace() noexcept;
  // Sees the find or replace dialog's destruction, however it comes (its owner destroyed too).
  static LRESULT CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData) noexcept;
  // Raises Help for `action` and, unless the handler took it, runs ShowHelp.
  void RaiseHelp(int16_t action, HWND dialog);

  // Runs `call` with the owner subclassed for Help when `helpFlag` is in Flags.
  template <typename Call>
  auto WithHelpSubclass(HWND owner, int32_t helpFlag, DialogAction action, Call call);
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
  void ApplyPrinterBlocks(HGLOBAL devMode, HGLOBAL devNames, DWORD returnedFlags);
  void TakeDevModeField(const DEVMODEW& mode, DWORD bit, int32_t& property, int32_t value) noexcept;
  // Keeps `dc` in hdc (deleting the old one) when Flags asks for a device or information context.
  void KeepDeviceContext(HDC dc) noexcept;

  CommonDialogEvents* events_ = nullptr;  // where events go; null for none
  bool cancelError_ = false;
  bool hookEvents_ = false;
  std::wstring tag_;
  controls::UniqueDeviceContext hdc_;  // deleted when replaced and at destruction
  int32_t flags_ = 0;
  std::wstring dialogTitle_;
  int32_t maxFileSize_ = 260;
  std::wstring fileName_;
  std::wstring fileTitle_;
  int16_t fileOffset_ = 0;
  std::wstring filter_;
  int32_t filterIndex_ = 0;
  std::wstring initDir_;
  std::wstring defaultExt_;
  int32_t color_ = 0;
  std::wstring fontName_;
  float fontSize_ = 8.0F;
  bool fontBold_ = false;
  bool fontItalic_ = false;
  bool fontStrikethru_ = false;
  bool fontUnderline_ = false;
  int16_t fontCharset_ = 0;
  int32_t min_ = 0;
  int32_t max_ = 0;
  int32_t fromPage_ = 0;
  int32_t toPage_ = 0;
  int32_t orientation_ = DMORIENT_PORTRAIT;
  int32_t paperSize_;  // set from the user locale's measurement system
  int16_t copies_ = 1;
  int32_t paperBin_ = DMBIN_AUTO;
  int32_t printQuality_ = DMRES_HIGH;
  int32_t colorMode_ = DMCOLOR_COLOR;
  int32_t duplex_ = DMDUP_SIMPLEX;
  bool printerDefault_ = true;
  bool printerDefaultInit_ = true;
  std::wstring printerDriver_;
  std::wstring printerName_;
  std::wstring printerPort_;
  std::wstring helpFile_;
  int32_t helpCommand_ = 0;
  int32_t helpContext_ = 0;
  std::wstring helpKey_;
  Margins margins_;
  Margins minMargins_;
  controls::PropertyValue rootFolder_;
  std::wstring findWhat_;
  std::wstring replaceWith_;
  int32_t defaultFields_ = kDefaultPrinterFields;  // printer properties still at their defaults

  // Registered message numbers, 0 until first needed.
  UINT helpMessage_ = 0;
  UINT shareViolationMessage_ = 0;
  UINT fileNameOkMessage_ = 0;
  UINT colorOkMessage_ = 0;
  UINT setRgbColorMessage_ = 0;
  UINT findReplaceMessage_ = 0;

  OwnerReceiver helpOwnerReceiver_{*this, &CommonDialog::OnHelpOwnerMessage};

  std::array<COLORREF, 16> customColors_{};  // the colour dialog's custom row, kept per instance
  bool customColorsFilled_ = false;

  // The open modeless find or replace dialog and what it points into.
  FINDREPLACEW findReplace_{};
  HWND findReplaceDialog_ = nullptr;
  HWND findReplaceOwner_ = nullptr;  // the window subclassed for the dialog's commands
  DialogAction findReplaceAction_ = kActionFind;
  OwnerReceiver findOwnerReceiver_{*this, &CommonDialog::OnFindOwnerMessage};
  std::unique_ptr<InitDialogHook> findHook_;  // the open dialog's hook handler, when hooked
  // The record declares each buffer's length as its number of characters: Windows reads that
  // number as bytes, Wine as characters, and either reading stays inside the buffer.
  std::array<wchar_t, kFindReplaceLength> findBuffer_{};
  std::array<wchar_t, kFindReplaceLength> replaceBuffer_{};
};

// Deletes a dialog now, or when the event or Show call that runs on it returns.
struct CommonDialogDeleter {
  void operator()(CommonDialog* dialog) const noexcept {
    controls::CallGuarded::Delete(std::unique_ptr<CommonDialog>(dialog));
  }
};
using CommonDialogPtr = std::unique_ptr<CommonDialog, CommonDialogDeleter>;

}  // namespace veltrin::dialogs
