// The error table of the common dialogs.
#include "dialogs/dialog_errors.h"

#include <cderr.h>
#include <commdlg.h>

#include <string>

namespace veltrin::dialogs {
namespace {

struct ErrorRow {
  DWORD code;
  int number;
  const char16_t* text;
};

constexpr ErrorRow kOpenRows[] = {
    {0x3001, 20478, u"An attempt to subclass a listbox failed due to insufficient memory."},
    {0x3002, 20477, u"File name is invalid."},
    {0x3003, 20476, u"The buffer at which the member LpstrFile points is too small."},
};
constexpr ErrorRow kSaveRows[] = {
    {0x3001, 20478, u"An attempt to subclass a list box failed due to insufficient memory."},
    {0x3002, 20477, u"File name is invalid."},
    {0x3003, 20476, u"The buffer at which the member lpstrFile points is too small."},
};
constexpr ErrorRow kFontRows[] = {
    {0x2001, 24574, u"No fonts exist."},
    {0x2002, 24573,
     u"The size specified in the nSizeMax member is less than the size specified in the nSizeMin "
     u"member."},
};
// The print and page setup dialogs share their rows; "{}" stands for the name of the dialog
// function that failed.
constexpr ErrorRow kPrinterRows[] = {
    {0x1002, 28669, u"The {} function failed to parse the strings in WIN.INI."},
    {0x1003, 28668, u"The PDReturnDefault flag was set, but a field was nonzero."},
    {0x1004, 28667, u"The {} function failed to load the specified printer's device driver."},
    {0x1005, 28666, u"The printer-device driver failed to initialize a DevMode data structure."},
    {0x1006, 28665, u"The {} function failed during initialization."},
    {0x1007, 28664, u"No printer device-drivers were found."},
    {0x1008, 28663, u"A default printer does not exist."},
    {0x1009, 28662, u"DevMode and DevNames data structures describe two different printers."},
    {0x100A, 28661, u"The {} function failed when creating an information context."},
    {0x100B, 28660, u"The [devices] section of WIN.INI does not contain an entry for the printer."},
};
constexpr ErrorRow kFindRows[] = {
    {0x4001, 36848, u"The buffer at which the member LpstrFindWhat points is invalid."},
};
constexpr ErrorRow kReplaceRows[] = {
    {0x4001, 36848,
     u"The buffer at which the member LpstrFindWhat and/or LpstrReplaceWith points is invalid."},
};

template <size_t N>
const ErrorRow* FindRow(const ErrorRow (&rows)[N], DWORD code) {
  for (const ErrorRow& row : rows) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

const ErrorRow* RowFor(DialogKind kind, DWORD code) {
  switch (kind) {
    case DialogKind::kOpen:
      return FindRow(kOpenRows, code);
    case DialogKind::kSave:
      return FindRow(kSaveRows, code);
    case DialogKind::kFont:
      return FindRow(kFontRows, code);
    case DialogKind::kPrint:
    case DialogKind::kPageSetup:
      return FindRow(kPrinterRows, code);
    case DialogKind::kFind:
      return FindRow(kFindRows, code);
    case DialogKind::kReplace:
      return FindRow(kReplaceRows, code);
    default:
      return nullptr;
  }
}

// Returns the row's text with the failing function named where the text has "{}".
std::u16string RowText(const ErrorRow& row, DialogKind kind) {
  std::u16string text = row.text;
  if (const size_t at = text.find(u"{}"); at != std::u16string::npos) {
    text.replace(at, 2, kind == DialogKind::kPageSetup ? u"PageSetupDlg" : u"PrintDlg");
  }
  return text;
}

RunTimeError UnexpectedError(int32_t code) {
  return RunTimeError(code, u"Unexpected error.");
}

// Says whether `code` is one that a dialog of `kind` gives: the codes shared by all dialogs (below
// 0x1000, and 0xFFFF) and those of its own family.
bool BelongsTo(DialogKind kind, DWORD code) {
  if (code < PDERR_PRINTERCODES || code == CDERR_DIALOGFAILURE) return true;
  const DWORD family = code & 0xF000;
  switch (kind) {
    case DialogKind::kOpen:
    case DialogKind::kSave:
      return family == FNERR_FILENAMECODES;
    case DialogKind::kFont:
      return family == CFERR_CHOOSEFONTCODES;
    case DialogKind::kPrint:
    case DialogKind::kPageSetup:
    case DialogKind::kPrintEx:
      return family == PDERR_PRINTERCODES;
    case DialogKind::kFind:
    case DialogKind::kReplace:
      return family == FRERR_FINDREPLACECODES;
    default:
      return false;
  }
}

}  // namespace

DWORD DialogExtendedError(DialogKind kind) {
  const DWORD code = CommDlgExtendedError();
  return BelongsTo(kind, code) ? code : 0;
}

RunTimeError DialogError(DialogKind kind, DWORD code) {
  if (const ErrorRow* row = RowFor(kind, code)) {
    return RunTimeError(row->number, RowText(*row, kind));
  }
  return UnexpectedError(static_cast<int32_t>(code));
}

RunTimeError CancelSelectedError() {
  return RunTimeError(kCancelErrorNumber, u"Cancel was selected.");
}

RunTimeError PrintExError(HRESULT status) {
  switch (status) {
    case E_POINTER:
    case E_FAIL:
    case E_HANDLE:
    case E_OUTOFMEMORY:
    case E_INVALIDARG:
      return RunTimeError(28665, u"The PrintDlgEx function failed during initialization.");
    default:
      return UnexpectedError(static_cast<int32_t>(status));
  }
}

}  // namespace veltrin::dialogs
