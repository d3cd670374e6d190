// The records and blocks ShowPrinter, ShowPrinterEx and ShowPageSetup hand to their dialogs, and
// what they make of a confirmed answer. A stand-in takes the system dialog's place: the test
// system has no printer, so its dialogs never confirm.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "controls/base/global_memory.h"
#include "dialogs/common_dialog.h"
#include "dialogs/print_dialog_functions.h"

namespace veltrin::dialogs {
namespace {

using namespace std::string_literals;

// What the stand-in saw and how it answers, for the one dialog call a test makes at a time.
struct StandInState {
  PRINTDLGW print{};
  PAGESETUPDLGW page_setup{};
  PRINTDLGEXW print_ex{};
  PRINTPAGERANGE range{};
  bool got_dev_mode = false;
  DEVMODEW dev_mode{};
  std::vector<std::byte> dev_names;  // empty when none was handed over
  // Applied to the confirmed answer: the DEVMODEW and the flags may be edited in place.
  std::function<void(DEVMODEW&, DWORD&)> answer = [](DEVMODEW&, DWORD&) {};
  std::vector<std::byte> answer_dev_names;  // replaces the DEVNAMES block when not empty
};
StandInState* state = nullptr;

void See(HGLOBAL dev_mode, HGLOBAL dev_names) {
  const std::vector<std::byte> mode = controls::CopyFromGlobal(dev_mode);
  state->got_dev_mode = !mode.empty();
  std::memcpy(&state->dev_mode, mode.data(), std::min(mode.size(), sizeof(DEVMODEW)));
  state->dev_names = controls::CopyFromGlobal(dev_names);
}

// Answers as a dialog does: edits the DEVMODEW block, replaces the DEVNAMES block.
void Answer(HGLOBAL& dev_mode, HGLOBAL& dev_names, DWORD& flags) {
  if (dev_mode == nullptr) dev_mode = GlobalAlloc(GHND, sizeof(DEVMODEW));
  auto* mode = static_cast<DEVMODEW*>(GlobalLock(dev_mode));
  state->answer(*mode, flags);
  GlobalUnlock(dev_mode);
  if (!state->answer_dev_names.empty()) {
    if (dev_names != nullptr) GlobalFree(dev_names);
    dev_names = controls::GlobalMemory::Copy(state->answer_dev_names).Detach();
  }
}

BOOL WINAPI StandInPrintDlg(LPPRINTDLGW record) {
  state->print = *record;
  See(record->hDevMode, record->hDevNames);
  Answer(record->hDevMode, record->hDevNames, record->Flags);
  record->nFromPage = 65535;
  record->nToPage = 65535;
  return TRUE;
}

BOOL WINAPI StandInPageSetupDlg(LPPAGESETUPDLGW record) {
  state->page_setup = *record;
  See(record->hDevMode, record->hDevNames);
  Answer(record->hDevMode, record->hDevNames, record->Flags);
  record->rtMargin = {100, 200, 300, 400};
  record->rtMinMargin = {9, 9, 9, 9};
  return TRUE;
}

HRESULT WINAPI StandInPrintDlgEx(LPPRINTDLGEXW record) {
  state->print_ex = *record;
  state->range = record->lpPageRanges[0];
  See(record->hDevMode, record->hDevNames);
  Answer(record->hDevMode, record->hDevNames, record->Flags);
  record->lpPageRanges[0] = {4, 9};
  record->dwResultAction = PD_RESULT_APPLY;
  return S_OK;
}

// Confirms with the device context the test put in state->print.hDC.
BOOL WINAPI HandOutDeviceContext(LPPRINTDLGW record) {
  record->hDC = state->print.hDC;
  return TRUE;
}

class PrintRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = PrintDialogs();
    PrintDialogs() = {StandInPrintDlg, StandInPrintDlgEx, StandInPageSetupDlg};
    state = &seen_;
  }
  void TearDown() override {
    PrintDialogs() = saved_;
    state = nullptr;
  }

  PrintDialogFunctions saved_;
  StandInState seen_;
};

std::vector<std::byte> DevNamesOf(const std::wstring& strings, WORD default_flag) {
  DEVNAMES header{4, 8, 12, default_flag};
  std::vector<std::byte> block(208);
  std::memcpy(block.data(), &header, sizeof(header));
  std::memcpy(block.data() + sizeof(header), strings.data(), strings.size() * sizeof(wchar_t));
  return block;
}

TEST_F(PrintRecords, OnlyTheFieldsSetByTheCallerAreHandedOver) {
  CommonDialog dialog;
  dialog.SetPrinterDefault(false);
  ASSERT_TRUE(dialog.ShowPrinter());
  ASSERT_TRUE(seen_.got_dev_mode);
  EXPECT_EQ(seen_.print.lStructSize, sizeof(PRINTDLGW));
  EXPECT_EQ(seen_.dev_mode.dmSize, 220);
  EXPECT_EQ(seen_.dev_mode.dmFields, 0x8100u) << "copies and collate only";
  EXPECT_EQ(seen_.dev_mode.dmCopies, 1);
  EXPECT_TRUE(seen_.dev_names.empty());

  dialog.SetOrientation(2);
  dialog.SetFlags(PD_COLLATE);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(seen_.dev_mode.dmFields, 0x8101u);
  EXPECT_EQ(seen_.dev_mode.dmOrientation, 2);
  EXPECT_EQ(seen_.dev_mode.dmCollate, DMCOLLATE_TRUE);

  dialog.SetFlags(PD_RETURNDEFAULT);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(seen_.print.hDevMode, nullptr) << "no blocks when the default is asked for";
  EXPECT_EQ(seen_.print.hDevNames, nullptr);
}

TEST_F(PrintRecords, PageNumbersTravelAsSixteenBitsAndComeBackUnsigned) {
  CommonDialog dialog;
  dialog.SetFromPage(65535);
  dialog.SetToPage(65536 + 7);
  dialog.SetMin(1);
  dialog.SetMax(70000);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(seen_.print.nFromPage, 65535);
  EXPECT_EQ(seen_.print.nToPage, 7);
  EXPECT_EQ(seen_.print.nMinPage, 1);
  EXPECT_EQ(seen_.print.nMaxPage, 70000 & 0xFFFF);
  EXPECT_EQ(dialog.FromPage(), 65535) << "not -1";
  EXPECT_EQ(dialog.ToPage(), 65535);
}

TEST_F(PrintRecords, TheNamedPrinterGoesOverOnlyWithAllNamesAndNotDefaultInit) {
  CommonDialog dialog;
  dialog.SetPrinterDefault(false);
  dialog.SetPrinterName(L"打印机");
  dialog.SetPrinterDefaultInit(false);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_TRUE(seen_.dev_names.empty()) << "driver and port are empty";
  EXPECT_EQ(seen_.dev_mode.dmDeviceName[0], L'\0');

  dialog.SetPrinterName(L"打印机");
  dialog.SetPrinterDriver(L"drv");
  dialog.SetPrinterPort(L"LPT1:");
  dialog.SetPrinterDefaultInit(true);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_TRUE(seen_.dev_names.empty()) << "PrinterDefaultInit wins";

  dialog.SetPrinterName(L"打印机");
  dialog.SetPrinterDriver(L"drv");
  dialog.SetPrinterPort(L"LPT1:");
  dialog.SetPrinterDefaultInit(false);
  ASSERT_TRUE(dialog.ShowPrinter());
  ASSERT_EQ(seen_.dev_names.size(), 208u);
  EXPECT_EQ(seen_.dev_names, DevNamesOf(L"drv\0打印机\0LPT1:\0"s, 0));
  EXPECT_EQ(std::wstring(seen_.dev_mode.dmDeviceName), L"打印机");
}

TEST_F(PrintRecords, HooksAreAddedForEventsAndStrippedFromTheResult) {
  CommonDialog dialog;
  dialog.SetHookEvents(true);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(seen_.print.Flags & (PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK),
            static_cast<DWORD>(PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK));
  EXPECT_NE(seen_.print.lCustData, 0);
  EXPECT_NE(seen_.print.lpfnPrintHook, nullptr);
  EXPECT_NE(seen_.print.lpfnSetupHook, nullptr);
  EXPECT_EQ(dialog.Flags(), 0);
}

TEST_F(PrintRecords, TheChosenPrinterAndFieldsComeBack) {
  seen_.answer = [](DEVMODEW& mode, DWORD& flags) {
    mode.dmFields |= DM_ORIENTATION | DM_COPIES | DM_DUPLEX | DM_COLLATE;
    mode.dmOrientation = 2;
    mode.dmCopies = 3;
    mode.dmDuplex = 2;
    mode.dmCollate = DMCOLLATE_TRUE;
    flags |= PD_USEDEVMODECOPIESANDCOLLATE | PD_RETURNDC;
  };
  seen_.answer_dev_names = DevNamesOf(L"drv\0打印机\0LPT1:\0"s, 0);
  CommonDialog dialog;
  dialog.SetPrinterDefault(false);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(dialog.PrinterDriver(), L"drv");
  EXPECT_EQ(dialog.PrinterName(), L"打印机");
  EXPECT_EQ(dialog.PrinterPort(), L"LPT1:");
  EXPECT_EQ(dialog.Flags(), PD_USEDEVMODECOPIESANDCOLLATE | PD_RETURNDC | PD_COLLATE)
      << "collate comes back as the flag";
  EXPECT_EQ(dialog.Orientation(), 2);
  EXPECT_EQ(dialog.Copies(), 3);
  EXPECT_EQ(dialog.Duplex(), 2);
  EXPECT_EQ(dialog.DefaultPrinterFields(), kDefaultPrinterFields & ~(DM_ORIENTATION | DM_DUPLEX));

  // With PrinterDefault the chosen printer becomes the system's default (there is none here to
  // replace) and the names are emptied.
  dialog.SetPrinterDefault(true);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(dialog.PrinterName(), L"");
  dialog.SetPrinterDefault(false);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(dialog.PrinterName(), L"打印机");

  // Choosing the system default printer empties the names.
  seen_.answer_dev_names = DevNamesOf(L"drv\0other\0LPT2:\0"s, DN_DEFAULTPRN);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(dialog.PrinterDriver(), L"");
  EXPECT_EQ(dialog.PrinterName(), L"");
  EXPECT_EQ(dialog.PrinterPort(), L"");
}

TEST_F(PrintRecords, AReturnedDeviceContextReplacesTheOldOne) {
  CommonDialog dialog;
  dialog.SetFlags(PD_RETURNDC);
  HDC first = CreateCompatibleDC(nullptr);
  PrintDialogs().print_dlg = HandOutDeviceContext;
  seen_.print.hDC = first;
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(dialog.hdc(), first);
  seen_.print.hDC = CreateCompatibleDC(nullptr);
  ASSERT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(dialog.hdc(), seen_.print.hDC);
  EXPECT_EQ(GetObjectType(first), 0u) << "the old device context is deleted";
}

TEST_F(PrintRecords, PageSetupHandsOverItsFieldsAndKeepsTheMinimumMargins) {
  CommonDialog dialog;
  dialog.SetOrientation(2);
  dialog.SetPrintQuality(300);
  dialog.SetCopies(4);
  dialog.SetPageLeftMinMargin(5);
  dialog.SetPageTopMargin(50);
  ASSERT_TRUE(dialog.ShowPageSetup());
  EXPECT_EQ(seen_.page_setup.lStructSize, sizeof(PAGESETUPDLGW));
  EXPECT_EQ(seen_.dev_mode.dmFields, static_cast<DWORD>(DM_ORIENTATION));
  EXPECT_EQ(seen_.dev_mode.dmOrientation, 2);
  EXPECT_EQ(seen_.dev_mode.dmPrintQuality, 0);
  EXPECT_EQ(seen_.dev_mode.dmCopies, 0);
  EXPECT_EQ(seen_.page_setup.rtMinMargin.left, 5);
  EXPECT_EQ(seen_.page_setup.rtMargin.top, 50);
  EXPECT_EQ(dialog.PageLeftMargin(), 100);
  EXPECT_EQ(dialog.PageBottomMargin(), 400);
  EXPECT_EQ(dialog.PageLeftMinMargin(), 5) << "the minimum margins never change";
  EXPECT_EQ(dialog.PageTopMinMargin(), 0);
}

TEST_F(PrintRecords, ExtendedPrintApplyReturnsTwoWithThePageRange) {
  CommonDialog dialog;
  dialog.SetFromPage(2);
  dialog.SetToPage(3);
  dialog.SetMax(10);
  EXPECT_EQ(dialog.ShowPrinterEx(), 2);
  EXPECT_EQ(seen_.print_ex.nStartPage, START_PAGE_GENERAL);
  EXPECT_EQ(seen_.range.nFromPage, 2u);
  EXPECT_EQ(seen_.range.nToPage, 3u);
  EXPECT_EQ(seen_.dev_mode.dmFields, 0x8100u);
  EXPECT_EQ(dialog.FromPage(), 4);
  EXPECT_EQ(dialog.ToPage(), 9);
  EXPECT_EQ(dialog.Max(), 10);
}

}  // namespace
}  // namespace veltrin::dialogs
