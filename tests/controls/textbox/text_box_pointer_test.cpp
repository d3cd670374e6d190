// The text box and the mouse pointer: validation before a click takes the focus, the cursor that
// MousePointer and an automatic drag source choose, and the input method mode on activation.
#include <windows.h>

#include <imm.h>
#include <objsafe.h>

#include "controls/base/host/picture_object.h"
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

constexpr LPARAM kLeftClickInClient = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);

using host_test::ValidateLog;

HCURSOR SystemCursor(const wchar_t* id) {
  return LoadCursorW(nullptr, id);
}

// Asks the edit for its cursor with the mouse over `hit_test` and returns the cursor it set.
HCURSOR CursorAfterSetCursor(HWND edit, UINT hit_test) {
  SetCursor(nullptr);
  SendMessageW(edit, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit),
               MAKELPARAM(hit_test, WM_MOUSEMOVE));
  return GetCursor();
}

// Puts the mouse pointer over the character `index` of the edit.
void PointAtCharacter(HWND edit, int index) {
  const LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
  POINT point{static_cast<int16_t>(LOWORD(position)) + 2,
              static_cast<int16_t>(HIWORD(position)) + 4};
  ClientToScreen(edit, &point);
  SetCursorPos(point.x, point.y);
}

TEST_F(TextBoxTest, AClickedBoxTakesTheFocusOnlyWhenTheFocusedControlValidates) {
  TextBoxW& second = AddBox(L"TextBoxW2", {10, 120, 310, 150});
  ValidateLog validate(events.log);
  ExtenderOf(*box).Events().Connect(&validate);
  FocusBox(*box);
  events.log.clear();
  const HWND edit = second.hWnd();
  const auto activate = [&](LPARAM l_param) {
    return SendMessageW(edit, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(form.hWnd()), l_param);
  };

  validate.cancel_next = true;
  EXPECT_EQ(activate(kLeftClickInClient), MA_ACTIVATEANDEAT);
  EXPECT_EQ(GetFocus(), box->hWnd()) << "a cancelled validation keeps the focus";
  EXPECT_EQ(activate(MAKELPARAM(HTBORDER, WM_LBUTTONDOWN)), MA_ACTIVATEANDEAT);
  EXPECT_EQ(activate(MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN)), MA_ACTIVATE);
  EXPECT_EQ(GetFocus(), box->hWnd());

  ExtenderOf(second).SetCausesValidation(false);
  EXPECT_EQ(activate(kLeftClickInClient), MA_NOACTIVATE);
  EXPECT_EQ(GetFocus(), edit) << "a box that causes no validation takes the focus at once";

  FocusBox(*box);
  ExtenderOf(second).SetCausesValidation(true);
  validate.cancel_next = false;
  EXPECT_EQ(activate(kLeftClickInClient), MA_NOACTIVATE);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(activate(kLeftClickInClient), MA_ACTIVATE) << "the focused box passes clicks on";
  ExpectLog({L"Validate", L"Validate"});
}

TEST_F(TextBoxTest, MousePointerChoosesTheCursorOverTheTextOnly) {
  const HWND edit = box->hWnd();
  EXPECT_EQ(CursorAfterSetCursor(edit, HTCLIENT), SystemCursor(IDC_IBEAM));
  box->SetMousePointer(11);  // hourglass
  EXPECT_EQ(CursorAfterSetCursor(edit, HTCLIENT), SystemCursor(IDC_WAIT));
  EXPECT_NE(CursorAfterSetCursor(edit, HTBORDER), SystemCursor(IDC_WAIT));

  auto icon = std::make_shared<PictureObject>(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)),
                                              PictureType::kIcon);
  ASSERT_NE(icon->Handle(), nullptr);
  box->SetMouseIcon(icon);
  box->SetMousePointer(99);
  EXPECT_EQ(CursorAfterSetCursor(edit, HTCLIENT), static_cast<HCURSOR>(icon->Handle()));
  box->SetMouseIcon(nullptr);
  EXPECT_EQ(CursorAfterSetCursor(edit, HTCLIENT), SystemCursor(IDC_IBEAM))
      << "a custom pointer without an icon leaves the edit's own cursor";
  box->SetMousePointer(0);
}

TEST_F(TextBoxTest, AnAutomaticDragSourceShowsTheArrowOverItsSelection) {
  box->SetText(L"\u62D6\u52A8 some text");
  box->SetMousePointer(11);
  box->SetOLEDragMode(1);
  box->SetSelStart(0);
  box->SetSelLength(2);
  const HWND edit = box->hWnd();
  PointAtCharacter(edit, 1);
  EXPECT_EQ(CursorAfterSetCursor(edit, HTCLIENT), SystemCursor(IDC_ARROW));
  PointAtCharacter(edit, 6);
  EXPECT_EQ(CursorAfterSetCursor(edit, HTCLIENT), SystemCursor(IDC_WAIT));
  box->SetOLEDragMode(0);
  PointAtCharacter(edit, 1);
  EXPECT_EQ(CursorAfterSetCursor(edit, HTCLIENT), SystemCursor(IDC_WAIT))
      << "a manual drag source keeps MousePointer over its selection";
}

TEST_F(TextBoxTest, IMEModeIsAppliedWhenTheBoxBecomesActive) {
  const HWND edit = box->hWnd();
  box->SetIMEMode(3);  // disabled
  SendMessageW(edit, WM_IME_SETCONTEXT, 0, 0);
  const HIMC before = ImmGetContext(edit);
  ASSERT_NE(before, nullptr) << "the box's own context is associated";
  ImmReleaseContext(edit, before);
  SendMessageW(edit, WM_IME_SETCONTEXT, 1, 0);
  const HIMC after = ImmGetContext(edit);
  if (after) ImmReleaseContext(edit, after);
  if (!ImmIsIME(GetKeyboardLayout(0))) {
    EXPECT_EQ(after, before) << "without an input method the mode changes nothing";
    GTEST_SKIP() << "the keyboard layout is not an input method: only the idle path was checked";
  }
  EXPECT_EQ(after, nullptr) << "mode 3 detaches the context";
  box->SetIMEMode(1);
  SendMessageW(edit, WM_IME_SETCONTEXT, 1, 0);
  const HIMC reattached = ImmGetContext(edit);
  ASSERT_NE(reattached, nullptr);
  EXPECT_TRUE(ImmGetOpenStatus(reattached));
  ImmReleaseContext(edit, reattached);
}

TEST_F(TextBoxTest, PropertyBrowsingNamesTheMousePointerValues) {
  ComPtr<IUnknown> object(box->ControlUnknown());
  auto dispatch = object.Query<IDispatch>(IID_IDispatch);
  auto browsing = object.Query<IPerPropertyBrowsing>(IID_IPerPropertyBrowsing);
  ASSERT_TRUE(dispatch && browsing);
  std::wstring name = L"mousepointer";
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);

  box->SetMousePointer(11);
  BSTR text = nullptr;
  ASSERT_EQ(browsing->GetDisplayString(id, &text), S_OK);
  EXPECT_EQ(std::wstring(text, SysStringLen(text)), L"11 - Hourglass");
  SysFreeString(text);
  EXPECT_EQ(browsing->GetDisplayString(id + 1, &text), E_NOTIMPL) << "other properties: the host's";

  CALPOLESTR strings{};
  CADWORD cookies{};
  ASSERT_EQ(browsing->GetPredefinedStrings(id, &strings, &cookies), S_OK);
  ASSERT_EQ(strings.cElems, 18u);
  ASSERT_EQ(cookies.cElems, 18u);
  EXPECT_EQ(std::wstring(strings.pElems[0]), L"0 - Default");
  EXPECT_EQ(std::wstring(strings.pElems[17]), L"99 - Custom");
  VARIANT value;
  VariantInit(&value);
  ASSERT_EQ(browsing->GetPredefinedValue(id, cookies.pElems[17], &value), S_OK);
  EXPECT_EQ(V_VT(&value), VT_I4);
  EXPECT_EQ(V_I4(&value), 99);
  for (ULONG i = 0; i < strings.cElems; ++i) CoTaskMemFree(strings.pElems[i]);
  CoTaskMemFree(strings.pElems);
  CoTaskMemFree(cookies.pElems);
}

TEST_F(TextBoxTest, TheBoxIsSafeForUntrustedCallersAndDataWhateverIsAsked) {
  auto safety = ComPtr<IUnknown>(box->ControlUnknown()).Query<IObjectSafety>(IID_IObjectSafety);
  ASSERT_TRUE(safety);
  constexpr DWORD kBoth = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, kBoth, 0), S_OK);
  DWORD supported = 0;
  DWORD enabled = 0;
  ASSERT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, kBoth);
  EXPECT_EQ(enabled, kBoth);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled), E_POINTER);
}

TEST_F(TextBoxTest, ARealClickOnAnotherBoxWaitsForTheFocusedControlsValidation) {
  TextBoxW& second = AddBox(L"TextBoxW2", {10, 120, 310, 150});
  ValidateLog validate(events.log);
  ExtenderOf(*box).Events().Connect(&validate);
  FocusBox(*box);
  events.log.clear();
  RECT bounds{};
  GetWindowRect(second.hWnd(), &bounds);
  SetCursorPos(bounds.left + 20, bounds.top + 8);
  const auto click = [&] {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &input, sizeof(input));
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
    Pump();
  };
  validate.cancel_next = true;
  click();
  EXPECT_EQ(GetFocus(), box->hWnd());
  validate.cancel_next = false;
  click();
  EXPECT_EQ(GetFocus(), second.hWnd());
  ExpectLog({L"Validate", L"Validate"});
}

}  // namespace
}  // namespace veltrin::controls::textbox_test
