// The text box's network-address validation: the address window's type mask, validating its text
// into the four results, and its error tip. Without common controls 6.1 the box stays a plain edit.
#include <winsock2.h>
#include <ws2ipdef.h>

#include <cstring>

#include "common/run_time_error.h"
#include "controls/base/comctl_version.h"
#include "controls/base/shell_library.h"
#include "controls/textbox/net_address.h"
#include "controls/textbox/net_address_view.h"
#include "controls/textbox/text_box.h"

namespace veltrin::controls {
namespace {

bool HasAddressWindowClass() noexcept {
  return CommonControlsVersion() >= CommonControlsClass::kV61;
}

// Registers the address window class (a shell export); false when the system has none.
bool InitNetworkAddressClass() noexcept {
  const HMODULE shell = ShellLibraryHandle() ? ShellLibraryHandle() : GetModuleHandleW(L"shell32");
  if (!shell) return false;
  using InitFunction = BOOL(WINAPI*)();
  const auto init = reinterpret_cast<InitFunction>(
      reinterpret_cast<void*>(GetProcAddress(shell, "InitNetworkAddressControl")));
  return init && init();
}

}  // namespace

const wchar_t* TextBoxW::ChildClass() const {
  if (net_address_validator_ && HasAddressWindowClass() && InitNetworkAddressClass()) {
    return kNetAddressClass;
  }
  return L"Edit";
}

void TextBoxW::ApplyNetAddressType() {
  if (!Live() || !net_address_validator_ || !HasAddressWindowClass()) return;
  NetAddressView(hWnd()).SetAllowType(NetAddressMask(net_address_type_));
}

void TextBoxW::ResetNetAddressResults() noexcept {
  net_address_format_ = 0;
  net_address_string_.clear();
  net_address_port_number_ = 0;
  net_address_prefix_length_ = 0;
}

void TextBoxW::ValidateNetAddress() {
  ResetNetAddressResults();
  if (!Live() || !net_address_validator_) {
    throw RunTimeError(kInvalidProcedureCall,
                       u"Procedure call can't be carried out as property NetAddressValidator is "
                       u"False.");
  }
  if (!HasAddressWindowClass() || Child().ClassName() != kNetAddressClass) {
    throw RunTimeError(kInvalidProcedureCall,
                       u"To use this functionality, you must provide a manifest specifying "
                       u"comctl32.dll version 6.1 or higher.");
  }
  NetAddressInfo info{};
  NetAddressRequest request{&info, 0, 0};
  RaiseNetAddressError(NetAddressView(hWnd()).GetAddress(request));
  net_address_port_number_ = static_cast<int16_t>(request.port);
  net_address_format_ = static_cast<int32_t>(info.format);
  net_address_prefix_length_ = request.prefix;
  switch (info.format) {
    case 0:
      throw RunTimeError(kInvalidPropertyValue, u"The network address format is not provided.");
    case 1:
      net_address_string_.assign(info.named.address,
                                 wcsnlen(info.named.address, std::size(info.named.address)));
      break;
    case 2: {
      std::array<uint8_t, 4> bytes{};
      std::memcpy(bytes.data(), &info.ipv4.sin_addr, bytes.size());
      net_address_string_ = Ipv4AddressText(bytes);
      break;
    }
    case 3: {
      std::array<uint8_t, 16> bytes{};
      std::memcpy(bytes.data(), &info.ipv6.sin6_addr, bytes.size());
      net_address_string_ = Ipv6AddressText(bytes);
      break;
    }
    default:
      throw RunTimeError(kInvalidPropertyValue, u"The network address format is unspecified.");
  }
}

void TextBoxW::ShowNetAddressErrorTip() noexcept {
  if (!Live() || !net_address_validator_ || !HasAddressWindowClass()) return;
  if (!Child().HasFocus()) ::SetFocus(hWndUserControl());
  NetAddressView(hWnd()).DisplayErrorTip();
}

}  // namespace veltrin::controls
