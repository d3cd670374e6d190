// Network-address helpers of the text box.
#include "controls/textbox/net_address.h"

#include <cwchar>

#include "common/run_time_error.h"

namespace veltrin::controls {
namespace {

constexpr DWORD kMasks[] = {0x000, 0x001, 0x002, 0x004, 0x008, 0x010, 0x020, 0x040, 0x080, 0x100,
                            0x200, 0x009, 0x011, 0x022, 0x042, 0x084, 0x109, 0x111, 0x222, 0x242};

}  // namespace

DWORD NetAddressMask(int32_t type) noexcept {
  if (type < 0 || type >= static_cast<int32_t>(std::size(kMasks))) return 0;
  return kMasks[type];
}

void RaiseNetAddressError(LRESULT answer) {
  switch (static_cast<DWORD>(answer)) {
    case 0:
      return;
    case 1:
      throw RunTimeError(kInvalidPropertyValue, u"There is no network address string to validate.");
    case 87:
      throw RunTimeError(87, u"The network address string is not of any type specified.");
    case 122:
      throw RunTimeError(122, u"The out buffer is too small to hold the parsed network address.");
    case static_cast<DWORD>(E_INVALIDARG):
      throw RunTimeError(static_cast<int>(E_INVALIDARG), u"The network address string is invalid.");
    default:
      throw RunTimeError(static_cast<int>(answer), u"Unexpected error.");
  }
}

std::wstring Ipv4AddressText(const std::array<uint8_t, 4>& address) {
  std::wstring text;
  for (size_t i = 0; i < address.size(); ++i) {
    if (i > 0) text += L'.';
    text += std::to_wstring(address[i]);
  }
  return text;
}

std::wstring Ipv6AddressText(const std::array<uint8_t, 16>& address) {
  std::wstring text;
  for (size_t group = 0; group < 8; ++group) {
    if (group > 0) text += L':';
    const unsigned value = (address[2 * group] << 8) | address[2 * group + 1];
    wchar_t digits[8];
    std::swprintf(digits, std::size(digits), L"%X", value);
    text += digits;
  }
  return text;
}

}  // namespace veltrin::controls
