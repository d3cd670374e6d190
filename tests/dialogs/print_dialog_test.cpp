// Print and page setup: the DEVMODE and DEVNAMES blocks built from the printer properties, the
// global-memory owner, and the dialogs on a system without printers (Wine here).
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstring>

#include "common/run_time_error.h"
#include "dialog_driver.h"
#include "controls/base/global_memory.h"
#include "dialogs/common_dialog.h"
#include "dialogs/printer_blocks.h"

namespace veltrin::dialogs {
namespace {

TEST(PrinterBlocks, FieldSelectionLeavesOutDefaults) {
  PrinterSettings settings;
  DEVMODEW mode = MakeDevMode(settings, false);
  EXPECT_EQ(mode.dmSize, 220);
  EXPECT_EQ(mode.dmFields, static_cast<DWORD>(DM_COPIES | DM_COLLATE));
  EXPECT_EQ(mode.dmCopies, 1);
  EXPECT_EQ(mode.dmOrientation, 0);

  settings.orientation = 2;
  settings.default_fields &= ~DM_ORIENTATION;
  settings.collate = true;
  mode = MakeDevMode(settings, false);
  EXPECT_EQ(mode.dmFields, 0x8101u);
  EXPECT_EQ(mode.dmOrientation, 2);
  EXPECT_EQ(mode.dmCollate, DMCOLLATE_TRUE);

  settings.default_fields = 0;
  settings.print_quality = -3;
  EXPECT_EQ(MakeDevMode(settings, false).dmFields, 0x9F03u);
  const DEVMODEW page = MakeDevMode(settings, true);
  EXPECT_EQ(page.dmFields, 0x203u);
  EXPECT_EQ(page.dmPrintQuality, 0) << "page setup passes no print quality";
  EXPECT_EQ(page.dmCopies, 0);
}

TEST(PrinterBlocks, DevNamesOnlyForAFullyNamedPrinter) {
  PrinterSettings settings;
  settings.name = L"打印机";
  settings.default_init = false;
  EXPECT_FALSE(MakeDevNames(settings).has_value()) << "driver and port are empty";
  EXPECT_EQ(MakeDevMode(settings, false).dmDeviceName[0], L'\0');

  settings.driver = L"drv";
  settings.port = L"LPT1:";
  settings.default_init = true;
  EXPECT_FALSE(MakeDevNames(settings).has_value()) << "PrinterDefaultInit wins";

  settings.default_init = false;
  const auto block = MakeDevNames(settings);
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(block->size(), 208u);
  DEVNAMES header;
  std::memcpy(&header, block->data(), sizeof(header));
  EXPECT_EQ(header.wDriverOffset, 4);
  EXPECT_EQ(header.wDeviceOffset, 8);
  EXPECT_EQ(header.wOutputOffset, 12);
  EXPECT_EQ(header.wDefault, 0);
  const ChosenPrinter read = ReadDevNames(*block);
  EXPECT_EQ(read.driver, L"drv");
  EXPECT_EQ(read.name, L"打印机");
  EXPECT_EQ(read.port, L"LPT1:");
  EXPECT_EQ(std::wstring(MakeDevMode(settings, false).dmDeviceName), L"打印机");
}

TEST(PrinterBlocks, LongNamesStayInsideTheirBlocks) {
  PrinterSettings settings;
  settings.driver = std::wstring(90, L'd');
  settings.name = std::wstring(60, L'n');
  settings.port = L"p";
  settings.default_init = false;
  const auto block = MakeDevNames(settings);
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(ReadDevNames(*block).name, settings.name) << "the block grows instead of cutting";
  EXPECT_EQ(ReadDevNames(*block).port, L"p");
  EXPECT_EQ(std::wstring(MakeDevMode(settings, false).dmDeviceName), std::wstring(31, L'n'));
  // A damaged block reads as empty strings instead of past its end.
  std::vector<std::byte> damaged = *block;
  damaged.resize(12);
  EXPECT_EQ(ReadDevNames(damaged).port, L"");
}

// Wine here shows a print dialog (its own printer), but its OK ends as a cancel, so only
// cancelling is asserted for real.
TEST(PrintDialogs, CancelChangesNothingOrRaises32755) {
  for (bool cancelError : {false, true}) {
    CommonDialog dialog;
    dialog.SetCancelError(cancelError);
    dialog.SetCopies(2);
    dialog.SetFromPage(3);
    testing::DialogDriver driver(testing::PressCancel());
    int number = 0;
    try {
      EXPECT_FALSE(dialog.ShowPrinter());
    } catch (const RunTimeError& error) {
      number = error.Number();
    }
    EXPECT_EQ(number, cancelError ? 32755 : 0);
    EXPECT_EQ(dialog.Copies(), 2);
    EXPECT_EQ(dialog.FromPage(), 3);
    EXPECT_EQ(dialog.DefaultPrinterFields(), kDefaultPrinterFields);
  }
}

TEST(PrintDialogs, PageSetupKeepsTheMinimumMarginsOrReportsItsError) {
  CommonDialog dialog;
  dialog.SetPageLeftMinMargin(7);
  testing::DialogDriver driver([](HWND window) { testing::PressButton(window, IDOK); });
  try {
    EXPECT_TRUE(dialog.ShowPageSetup());
  } catch (const RunTimeError& error) {
    // Wine's page setup cannot read its printer's paper list here and says so.
    EXPECT_GE(error.Number(), 28660);
    EXPECT_LE(error.Number(), 28669);
  }
  EXPECT_EQ(dialog.PageLeftMinMargin(), 7);
}

template <typename Call>
RunTimeError ErrorOf(Call call) {
  try {
    call();
  } catch (const RunTimeError& error) {
    return error;
  }
  return RunTimeError(0);
}

// Without a printer, asking for the default one fails with the class's error for that case, and
// nothing changes. Wine's page setup shows an error box of its own first.
TEST(PrintDialogs, ReturnDefaultWithoutAPrinterRaisesItsError) {
  testing::ActiveOwnerWindow owner;  // the extended print dialog needs one
  CommonDialog dialog;
  dialog.SetFlags(PD_RETURNDEFAULT);
  const RunTimeError print = ErrorOf([&] { dialog.ShowPrinter(); });
  EXPECT_EQ(print.Number(), 28663);
  EXPECT_EQ(print.Description(), u"A default printer does not exist.");
  const RunTimeError extended = ErrorOf([&] { dialog.ShowPrinterEx(); });
  EXPECT_EQ(extended.Number(), 28665);
  EXPECT_EQ(extended.Description(), u"The PrintDlgEx function failed during initialization.");
  dialog.SetFlags(PSD_RETURNDEFAULT);
  testing::DialogDriver driver(testing::PressCancel());
  EXPECT_EQ(ErrorOf([&] { dialog.ShowPageSetup(); }).Number(), 28663);
  EXPECT_EQ(dialog.Flags(), PSD_RETURNDEFAULT);
  EXPECT_EQ(dialog.hdc(), nullptr);
  EXPECT_EQ(dialog.DefaultPrinterFields(), kDefaultPrinterFields);
}

TEST(PrintDialogs, ExtendedPrintCancelReturnsZeroOrRaises32755) {
  testing::ActiveOwnerWindow owner;  // the extended print dialog needs one
  for (bool cancelError : {false, true}) {
    CommonDialog dialog;
    dialog.SetCancelError(cancelError);
    dialog.SetCopies(2);
    testing::DialogDriver driver(testing::PressCancel());
    int32_t action = -1;
    const RunTimeError error = ErrorOf([&] { action = dialog.ShowPrinterEx(); });
    EXPECT_TRUE(driver.Ran());
    EXPECT_EQ(error.Number(), cancelError ? 32755 : 0);
    EXPECT_EQ(action, cancelError ? -1 : 0);
    EXPECT_EQ(dialog.Copies(), 2);
  }
}

// Wine keeps the failed print dialog's code for the thread, and a later cancelled dialog would
// read it as its own failure.
TEST(PrintDialogs, ACancelAfterAFailedPrintDialogIsStillACancel) {
  CommonDialog dialog;
  dialog.SetFlags(PD_RETURNDEFAULT);
  EXPECT_EQ(ErrorOf([&] { dialog.ShowPrinter(); }).Number(), 28663);
  dialog.SetFlags(0);
  for (bool (CommonDialog::*show)() : {&CommonDialog::ShowColor, &CommonDialog::ShowFont}) {
    testing::DialogDriver driver(testing::PressCancel());
    bool chosen = true;
    EXPECT_EQ(ErrorOf([&] { chosen = (dialog.*show)(); }).Number(), 0);
    EXPECT_FALSE(chosen);
  }
}

TEST(PrintDialogs, ExtendedPrintFailureIsAnError) {
  CommonDialog dialog;
  dialog.SetHookEvents(true);
  try {
    const int32_t action = dialog.ShowPrinterEx();
    ADD_FAILURE() << "returned " << action;
  } catch (const RunTimeError& error) {
    EXPECT_NE(error.Number(), 0);
    std::printf("ShowPrinterEx without printer: %d\n", error.Number());
  }
}

}  // namespace
}  // namespace veltrin::dialogs
