// ListBoxW seen by a host's property browser: MousePointer by its named values.
#include <ocidl.h>

#include "controls/base/com_ptr.h"
#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

TEST(ListBoxBrowsingTest, MousePointerIsShownByItsName) {
  ListBoxHost host;
  ComPtr<IUnknown> object(host.List().ControlUnknown());
  auto dispatch = object.Query<IDispatch>(IID_IDispatch);
  auto browsing = object.Query<IPerPropertyBrowsing>(IID_IPerPropertyBrowsing);
  ASSERT_TRUE(dispatch && browsing);
  std::wstring name = L"MousePointer";
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);

  host.List().SetMousePointer(2);
  BSTR text = nullptr;
  ASSERT_EQ(browsing->GetDisplayString(id, &text), S_OK);
  EXPECT_EQ(std::wstring(text, SysStringLen(text)), L"2 - Cross");
  SysFreeString(text);
  EXPECT_EQ(browsing->GetDisplayString(id + 1, &text), E_NOTIMPL) << "other properties: the host's";
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
