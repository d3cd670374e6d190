// A typed view over a network-address window (an EDIT that parses its text as an address): its
// parse request as the window lays it out, and one method per message of the window class.
#pragma once

#include <winsock2.h>
#include <ws2ipdef.h>

#include "controls/base/window/window.h"

namespace veltrin::controls {

// The parse result: the format (0 none, 1 named, 2 IPv4, 3 IPv6) and the address in that form.
struct NetAddressInfo {
  DWORD format;
  union {
    struct {
      wchar_t address[256];
      wchar_t port[6];
    } named;
    SOCKADDR_IN ipv4;
    SOCKADDR_IN6 ipv6;
    BYTE raw[524];
  };
};

// The parse request: where the result goes, and the port and prefix length the window fills in.
struct NetAddressRequest {
  NetAddressInfo* info;
  USHORT port;
  BYTE prefix;
};

class NetAddressView : public Window {
 public:
  constexpr explicit NetAddressView(HWND window) noexcept : Window(window) {}

  // Limits the addresses the window accepts to a NetAddressMask.
  void SetAllowType(DWORD mask) const noexcept;
  // Parses the window's text into `request`; the answer is 0 or what RaiseNetAddressError raises.
  LRESULT GetAddress(NetAddressRequest& request) const noexcept;
  // Shows the balloon that says why the text is not an allowed address.
  void DisplayErrorTip() const noexcept;
};

}  // namespace veltrin::controls
