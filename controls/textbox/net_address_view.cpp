// The NetAddressView's messages.
#include "controls/textbox/net_address_view.h"

#include "controls/textbox/net_address.h"

namespace veltrin::controls {

void NetAddressView::SetAllowType(DWORD mask) const noexcept {
  Send(kNetAddressSetAllowType, mask);
}

LRESULT NetAddressView::GetAddress(NetAddressRequest& request) const noexcept {
  return Send(kNetAddressGetAddress, 0, reinterpret_cast<LPARAM>(&request));
}

void NetAddressView::DisplayErrorTip() const noexcept {
  Send(kNetAddressDisplayErrorTip);
}

}  // namespace veltrin::controls
