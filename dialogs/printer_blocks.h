// The printer settings handed to the print and page setup dialogs: the DEVMODEW built from the
// printer properties and the DEVNAMES naming the printer, and the reading of both back.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrin::dialogs {

struct PrinterSettings {
  int32_t orientation = DMORIENT_PORTRAIT;
  int32_t paper_size = DMPAPER_LETTER;
  int16_t copies = 1;
  int32_t paper_bin = DMBIN_AUTO;
  int32_t print_quality = DMRES_HIGH;
  int32_t color_mode = DMCOLOR_COLOR;
  int32_t duplex = DMDUP_SIMPLEX;
  int32_t default_fields = 0x1E03;  // fields still at their defaults: left out of the block
  bool collate = false;
  std::wstring driver, name, port;
  bool default_init = true;  // start from the system's default printer, never the named one
};

// Says whether the settings name a printer: all three strings set and defaultInit false.
bool NamesPrinter(const PrinterSettings& settings);

// Returns the DEVMODEW for the print dialogs (pageSetup false) or the page setup dialog.
DEVMODEW MakeDevMode(const PrinterSettings& settings, bool page_setup);

// Returns the DEVNAMES block (208 bytes, larger when the three names need more), or nothing when
// the settings name no printer.
std::optional<std::vector<std::byte>> MakeDevNames(const PrinterSettings& settings);

struct ChosenPrinter {
  std::wstring driver, name, port;
  bool is_default = false;  // DN_DEFAULTPRN: the system default printer was chosen
};

// Reads a DEVNAMES block; every string stops at the block's end.
ChosenPrinter ReadDevNames(const std::vector<std::byte>& block);

// Makes `name` the system default printer unless it already is (case-insensitive) or there is no
// default printer at all.
void MakeDefaultPrinter(const std::wstring& name);

}  // namespace veltrin::dialogs
