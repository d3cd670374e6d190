// Builds and reads the DEVMODEW and DEVNAMES blocks of the print dialogs.
#include "dialogs/printer_blocks.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>

namespace veltrin::dialogs {
namespace {

constexpr size_t kDevNamesBytes = 208;
constexpr DWORD kPrintFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE |
                               DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_COLLATE;
constexpr DWORD kPageSetupFields = DM_ORIENTATION | DM_PAPERSIZE | DM_DEFAULTSOURCE;

std::wstring StringAt(const std::vector<std::byte>& block, size_t offset) {
  const size_t count = block.size() / sizeof(wchar_t);
  std::wstring text;
  for (size_t i = offset; i < count; ++i) {
    wchar_t c;
    std::memcpy(&c, block.data() + i * sizeof(wchar_t), sizeof(c));
    if (c == L'\0') break;
    text.push_back(c);
  }
  return text;
}

}  // namespace

bool NamesPrinter(const PrinterSettings& settings) {
  return !settings.driver.empty() && !settings.name.empty() && !settings.port.empty() &&
         !settings.default_init;
}

DEVMODEW MakeDevMode(const PrinterSettings& settings, bool page_setup) {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  if (NamesPrinter(settings)) {
    std::copy_n(settings.name.begin(), std::min<size_t>(settings.name.size(), CCHDEVICENAME - 1),
                mode.dmDeviceName);
  }
  mode.dmFields =
      (page_setup ? kPageSetupFields : kPrintFields) & ~static_cast<DWORD>(settings.default_fields);
  const auto set = [&](DWORD bit, auto& member, int32_t value) {
    if ((mode.dmFields & bit) != 0)
      member = static_cast<std::remove_reference_t<decltype(member)>>(value);
  };
  set(DM_ORIENTATION, mode.dmOrientation, settings.orientation);
  set(DM_PAPERSIZE, mode.dmPaperSize, settings.paper_size);
  set(DM_DEFAULTSOURCE, mode.dmDefaultSource, settings.paper_bin);
  if (page_setup) return mode;
  mode.dmCopies = settings.copies;
  set(DM_PRINTQUALITY, mode.dmPrintQuality, settings.print_quality);
  set(DM_COLOR, mode.dmColor, settings.color_mode);
  set(DM_DUPLEX, mode.dmDuplex, settings.duplex);
  mode.dmCollate = settings.collate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
  return mode;
}

std::optional<std::vector<std::byte>> MakeDevNames(const PrinterSettings& settings) {
  if (!NamesPrinter(settings)) return std::nullopt;
  std::wstring strings = settings.driver + L'\0' + settings.name + L'\0' + settings.port + L'\0';
  DEVNAMES header{};
  header.wDriverOffset = 4;
  header.wDeviceOffset = static_cast<WORD>(4 + settings.driver.size() + 1);
  header.wOutputOffset = static_cast<WORD>(header.wDeviceOffset + settings.name.size() + 1);
  // The offsets must stay inside the block, so long names get a bigger block instead of a cut.
  std::vector<std::byte> block(
      std::max(kDevNamesBytes, sizeof(header) + strings.size() * sizeof(wchar_t)));
  std::memcpy(block.data(), &header, sizeof(header));
  std::memcpy(block.data() + sizeof(header), strings.data(), strings.size() * sizeof(wchar_t));
  return block;
}

ChosenPrinter ReadDevNames(const std::vector<std::byte>& block) {
  ChosenPrinter chosen;
  if (block.size() < sizeof(DEVNAMES)) return chosen;
  DEVNAMES header;
  std::memcpy(&header, block.data(), sizeof(header));
  chosen.is_default = (header.wDefault & DN_DEFAULTPRN) != 0;
  chosen.driver = StringAt(block, header.wDriverOffset);
  chosen.name = StringAt(block, header.wDeviceOffset);
  chosen.port = StringAt(block, header.wOutputOffset);
  return chosen;
}

void MakeDefaultPrinter(const std::wstring& name) {
  DWORD length = 0;
  GetDefaultPrinterW(nullptr, &length);
  if (length == 0) return;
  std::wstring current(length, L'\0');
  if (!GetDefaultPrinterW(current.data(), &length)) return;
  current.resize(wcsnlen(current.c_str(), current.size()));
  if (CompareStringOrdinal(current.c_str(), -1, name.c_str(), -1, TRUE) != CSTR_EQUAL) {
    SetDefaultPrinterW(name.c_str());
  }
}

}  // namespace veltrin::dialogs
