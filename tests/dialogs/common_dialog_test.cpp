// CommonDialog properties: defaults, setter rules, read-only and write-only members, the error
// table.
#include "dialogs/common_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/run_time_error.h"
#include "dialogs/dialog_errors.h"

namespace veltrin::dialogs {
namespace {

template <typename Call>
int ErrorNumberOf(Call call) {
  try {
    call();
  } catch (const RunTimeError& error) {
    return error.Number();
  }
  return 0;
}

template <typename Call>
std::u16string ErrorTextOf(Call call) {
  try {
    call();
  } catch (const RunTimeError& error) {
    return error.Description();
  }
  return u"(no error)";
}

TEST(CommonDialogProperties, NewInstanceHasTheDefaults) {
  CommonDialog dialog;
  EXPECT_EQ(dialog.MaxFileSize(), 260);
  EXPECT_EQ(dialog.FontSize(), 8.0F);
  EXPECT_EQ(dialog.Orientation(), 1);
  EXPECT_EQ(dialog.Copies(), 1);
  EXPECT_EQ(dialog.PaperBin(), 7);
  EXPECT_EQ(dialog.PrintQuality(), -4);
  EXPECT_EQ(dialog.ColorMode(), 2);
  EXPECT_EQ(dialog.Duplex(), 1);
  EXPECT_TRUE(dialog.PrinterDefault());
  EXPECT_TRUE(dialog.PrinterDefaultInit());
  EXPECT_FALSE(dialog.CancelError());
  EXPECT_FALSE(dialog.HookEvents());
  EXPECT_EQ(dialog.hdc(), nullptr);
  EXPECT_EQ(dialog.DefaultPrinterFields(), 0x1E03);
  EXPECT_TRUE(dialog.RootFolder().IsEmpty());
  EXPECT_EQ(&dialog.Object(), &dialog);
  DWORD measure = 1;
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IMEASURE | LOCALE_RETURN_NUMBER,
                 reinterpret_cast<LPWSTR>(&measure), 2);
  EXPECT_EQ(dialog.PaperSize(), measure == 0 ? 9 : 1);
}

TEST(CommonDialogProperties, RejectedValuesRaise380AndKeepTheOldValue) {
  CommonDialog dialog;
  EXPECT_EQ(ErrorNumberOf([&] { dialog.SetMaxFileSize(0); }), 380);
  EXPECT_EQ(dialog.MaxFileSize(), 260);
  EXPECT_EQ(ErrorTextOf([&] { dialog.SetMaxFileSize(0); }), u"Invalid property value");
  dialog.SetMaxFileSize(1);
  EXPECT_EQ(dialog.MaxFileSize(), 1);

  using Setter = void (CommonDialog::*)(int32_t);
  using Getter = int32_t (CommonDialog::*)() const;
  const std::pair<Setter, Getter> non_negative[] = {
      {&CommonDialog::SetFilterIndex, &CommonDialog::FilterIndex},
      {&CommonDialog::SetMin, &CommonDialog::Min},
      {&CommonDialog::SetMax, &CommonDialog::Max},
      {&CommonDialog::SetFromPage, &CommonDialog::FromPage},
      {&CommonDialog::SetToPage, &CommonDialog::ToPage},
      {&CommonDialog::SetPageLeftMargin, &CommonDialog::PageLeftMargin},
      {&CommonDialog::SetPageTopMargin, &CommonDialog::PageTopMargin},
      {&CommonDialog::SetPageRightMargin, &CommonDialog::PageRightMargin},
      {&CommonDialog::SetPageBottomMargin, &CommonDialog::PageBottomMargin},
      {&CommonDialog::SetPageLeftMinMargin, &CommonDialog::PageLeftMinMargin},
      {&CommonDialog::SetPageTopMinMargin, &CommonDialog::PageTopMinMargin},
      {&CommonDialog::SetPageRightMinMargin, &CommonDialog::PageRightMinMargin},
      {&CommonDialog::SetPageBottomMinMargin, &CommonDialog::PageBottomMinMargin},
  };
  for (const auto& [set, get] : non_negative) {
    (dialog.*set)(5);
    EXPECT_EQ(ErrorNumberOf([&] { (dialog.*set)(-1); }), 380);
    EXPECT_EQ((dialog.*get)(), 5);
    (dialog.*set)(0);
    EXPECT_EQ((dialog.*get)(), 0);
  }
}

TEST(CommonDialogProperties, PrinterFieldRangesAndTheDefaultMask) {
  struct Row {
    void (CommonDialog::*set)(int32_t);
    int32_t (CommonDialog::*get)() const;
    int32_t bit;
    int32_t good[2];
    int32_t bad[2];
  };
  const Row rows[] = {
      {&CommonDialog::SetOrientation, &CommonDialog::Orientation, 0x1, {1, 2}, {0, 3}},
      {&CommonDialog::SetPaperSize, &CommonDialog::PaperSize, 0x2, {1, 32767}, {0, 32768}},
      {&CommonDialog::SetPaperBin, &CommonDialog::PaperBin, 0x200, {1, 32767}, {0, 32768}},
      {&CommonDialog::SetPrintQuality, &CommonDialog::PrintQuality, 0x400, {-4, 0}, {-5, 32768}},
      {&CommonDialog::SetColorMode, &CommonDialog::ColorMode, 0x800, {1, 2}, {0, 3}},
      {&CommonDialog::SetDuplex, &CommonDialog::Duplex, 0x1000, {1, 3}, {0, 4}},
  };
  for (const Row& row : rows) {
    CommonDialog dialog;
    const int32_t before = (dialog.*row.get)();
    for (int32_t bad : row.bad) {
      EXPECT_EQ(ErrorNumberOf([&] { (dialog.*row.set)(bad); }), 380) << bad;
    }
    EXPECT_EQ((dialog.*row.get)(), before);
    EXPECT_EQ(dialog.DefaultPrinterFields(), 0x1E03) << "a rejected set keeps the bit";
    for (int32_t good : row.good) {
      (dialog.*row.set)(good);
      EXPECT_EQ((dialog.*row.get)(), good);
    }
    EXPECT_EQ(dialog.DefaultPrinterFields(), 0x1E03 & ~row.bit);
  }
  CommonDialog dialog;
  EXPECT_EQ(ErrorNumberOf([&] { dialog.SetCopies(0); }), 380);
  dialog.SetCopies(3);
  EXPECT_EQ(dialog.Copies(), 3);
  EXPECT_EQ(dialog.DefaultPrinterFields(), 0x1E03) << "Copies has no bit";
}

TEST(CommonDialogProperties, HelpCommandAcceptsOnlyTheKnownCommands) {
  CommonDialog dialog;
  for (int32_t good : {0, 1, 2, 3, 4, 5, 8, 9, 257, 258, 261}) {
    dialog.SetHelpCommand(good);
    EXPECT_EQ(dialog.HelpCommand(), good);
  }
  for (int32_t bad : {6, 7, 10, 256, -1}) {
    EXPECT_EQ(ErrorNumberOf([&] { dialog.SetHelpCommand(bad); }), 380) << bad;
    EXPECT_EQ(dialog.HelpCommand(), 261);
  }
}

TEST(CommonDialogProperties, RootFolderAcceptsNumbersAndTextOnly) {
  CommonDialog dialog;
  dialog.SetRootFolder(std::wstring(L"C:\\"));
  dialog.SetRootFolder(uint8_t{36});
  EXPECT_EQ(dialog.RootFolder().ToLong(), 36);
  dialog.SetRootFolder(int32_t{5});
  EXPECT_EQ(dialog.RootFolder().ToLong(), 5);
  EXPECT_EQ(ErrorNumberOf([&] { dialog.SetRootFolder(true); }), 380);
  EXPECT_EQ(ErrorNumberOf([&] { dialog.SetRootFolder(controls::FontRef()); }), 380);
  EXPECT_EQ(dialog.RootFolder().ToLong(), 5);
  dialog.SetRootFolder(controls::PropertyValue());
  EXPECT_TRUE(dialog.RootFolder().IsEmpty());
}

TEST(CommonDialogProperties, ReadOnlyAndWriteOnlyMembers) {
  CommonDialog dialog;
  for (auto call : std::initializer_list<std::function<void()>>{[&] { dialog.Sethdc(nullptr); },
                                                                [&] { dialog.SetFileTitle(L"x"); },
                                                                [&] { dialog.SetFileOffset(1); }}) {
    EXPECT_EQ(ErrorNumberOf(call), 383);
    EXPECT_EQ(ErrorTextOf(call), u"Property is read-only");
  }
  EXPECT_EQ(ErrorNumberOf([&] { (void)dialog.Action(); }), 394);
  EXPECT_EQ(ErrorTextOf([&] { (void)dialog.Action(); }), u"Property is write-only");
  EXPECT_EQ(ErrorNumberOf([&] { dialog.SetAction(0); }), 380);
  EXPECT_EQ(ErrorNumberOf([&] { dialog.SetAction(11); }), 380);
}

TEST(DialogErrors, TableRowsAndUnexpectedCodes) {
  struct Row {
    DialogKind kind;
    DWORD code;
    int number;
    std::u16string text;
  };
  const Row rows[] = {
      {DialogKind::kOpen, 0x3001, 20478,
       u"An attempt to subclass a listbox failed due to insufficient memory."},
      {DialogKind::kSave, 0x3001, 20478,
       u"An attempt to subclass a list box failed due to insufficient memory."},
      {DialogKind::kOpen, 0x3003, 20476,
       u"The buffer at which the member LpstrFile points is too small."},
      {DialogKind::kSave, 0x3003, 20476,
       u"The buffer at which the member lpstrFile points is too small."},
      {DialogKind::kSave, 0x3002, 20477, u"File name is invalid."},
      {DialogKind::kFont, 0x2001, 24574, u"No fonts exist."},
      {DialogKind::kPrint, 0x1008, 28663, u"A default printer does not exist."},
      {DialogKind::kPrint, 0x1002, 28669,
       u"The PrintDlg function failed to parse the strings in WIN.INI."},
      {DialogKind::kPageSetup, 0x1002, 28669,
       u"The PageSetupDlg function failed to parse the strings in WIN.INI."},
      {DialogKind::kPageSetup, 0x1004, 28667,
       u"The PageSetupDlg function failed to load the specified printer's device driver."},
      {DialogKind::kPrint, 0x1006, 28665, u"The PrintDlg function failed during initialization."},
      {DialogKind::kPageSetup, 0x100A, 28661,
       u"The PageSetupDlg function failed when creating an information context."},
      {DialogKind::kPageSetup, 0x1008, 28663, u"A default printer does not exist."},
      {DialogKind::kPrint, 0x100B, 28660,
       u"The [devices] section of WIN.INI does not contain an entry for the printer."},
      {DialogKind::kPageSetup, 0x100C, 0x100C, u"Unexpected error."},
      {DialogKind::kFind, 0x4001, 36848,
       u"The buffer at which the member LpstrFindWhat points is invalid."},
      {DialogKind::kReplace, 0x4001, 36848,
       u"The buffer at which the member LpstrFindWhat and/or LpstrReplaceWith points is "
       u"invalid."},
      {DialogKind::kColor, 0x2001, 0x2001, u"Unexpected error."},
      {DialogKind::kOpen, 0xFFFF, 0xFFFF, u"Unexpected error."},
  };
  for (const Row& row : rows) {
    const RunTimeError error = DialogError(row.kind, row.code);
    EXPECT_EQ(error.Number(), row.number) << row.code;
    EXPECT_EQ(error.Description(), row.text) << row.code;
  }
  EXPECT_EQ(CancelSelectedError().Number(), 32755);
  EXPECT_EQ(CancelSelectedError().Description(), u"Cancel was selected.");
  EXPECT_EQ(PrintExError(E_INVALIDARG).Number(), 28665);
  EXPECT_EQ(PrintExError(static_cast<HRESULT>(0x80040001)).Number(), static_cast<int>(0x80040001));
}

}  // namespace
}  // namespace veltrin::dialogs
