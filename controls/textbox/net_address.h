// Network-address helpers of the text box: the allowed-type mask of each NetAddressType, the
// errors of a parse answer, and the text form of parsed IPv4 and IPv6 addresses.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

namespace veltrin::controls {

// The messages of the network-address window class.
inline constexpr UINT kNetAddressGetAddress = WM_USER + 1;       // NCM_GETADDRESS
inline constexpr UINT kNetAddressSetAllowType = WM_USER + 2;     // NCM_SETALLOWTYPE
inline constexpr UINT kNetAddressDisplayErrorTip = WM_USER + 4;  // NCM_DISPLAYERRORTIP
inline constexpr wchar_t kNetAddressClass[] = L"msctls_netaddress";

// The allowed-type mask for NetAddressType 0..19 (0 for any other value).
DWORD NetAddressMask(int32_t type) noexcept;

// Raises the run-time error of a failed parse answer (1, 87, 122, E_INVALIDARG, any other); does
// nothing for 0.
void RaiseNetAddressError(LRESULT answer);

// Dotted decimal of an IPv4 address in network order ("192.168.0.1").
std::wstring Ipv4AddressText(const std::array<uint8_t, 4>& address);

// Eight colon-separated upper-case hexadecimal groups of an IPv6 address in network order, each
// without leading zeros ("0" for a zero group), runs of zero groups written out.
std::wstring Ipv6AddressText(const std::array<uint8_t, 16>& address);

}  // namespace veltrin::controls
