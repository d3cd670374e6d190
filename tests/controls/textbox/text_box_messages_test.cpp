// The text box's message handling driven through real messages: mouse and click order, the mouse
// events' arguments, the context menu from the mouse and the keyboard, mouse tracking, Return
// against the default button, arrow keys and Tab, numbers-only paste, Change for multi-line text
// set by program, and automatic dropping of either text format.
#include <cmath>
#include <cstring>

#include "controls/base/host/drag_drop.h"
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

void PutOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

// Counts the clicks of a plain button.
struct ClickCounter : ExtenderEvents {
  int clicks = 0;
  void Click() override { ++clicks; }
};

TEST_F(TextBoxTest, AClickRaisesMouseDownMouseUpClickAfterTheEditMovedTheCaret) {
  box->SetText(L"abcdef");
  box->SetSelStart(6);
  events.log.clear();
  events.on_context_menu = [](bool& handled) { handled = true; };  // no modal menu in a test
  const HWND edit = box->hWnd();
  const LRESULT third = SendMessageW(edit, EM_POSFROMCHAR, 3, 0);
  const LPARAM at_third = MAKELPARAM(LOWORD(third) + 1, HIWORD(third) + 4);
  std::vector<int32_t> caret_seen;
  events.on_mouse = [&](const wchar_t*, int16_t, int16_t, float, float) {
    caret_seen.push_back(box->SelStart());
  };
  SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, at_third);
  SendMessageW(edit, WM_LBUTTONUP, 0, at_third);
  EXPECT_EQ(caret_seen, (std::vector<int32_t>{3, 3})) << "the events see the caret moved";
  SendMessageW(edit, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 5));
  SendMessageW(edit, WM_RBUTTONUP, 0, MAKELPARAM(4000, 5));  // released outside: no Click
  std::erase_if(events.log,
                [](const std::wstring& entry) { return entry.starts_with(L"Context"); });
  ExpectLog({L"MouseDown 1", L"MouseUp 1", L"Click", L"MouseDown 2", L"MouseUp 2"});
  EXPECT_EQ(box->SelStart(), 3);
}

TEST_F(TextBoxTest, MouseEventsCarryTheHeldButtonsShiftAndTwips) {
  const HWND edit = box->hWnd();
  struct Row {
    UINT message;
    WPARAM keys;
    const wchar_t* event;
    int16_t button, shift;
  } const rows[] = {
      {WM_MOUSEMOVE, 0, L"MouseMove", 0, 0},
      {WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, L"MouseMove", 3, 1},
      {WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, L"MouseDown", 4, 2},
      {WM_MBUTTONUP, MK_SHIFT | MK_CONTROL, L"MouseUp", 4, 3},
  };
  for (const Row& row : rows) {
    std::wstring seen;
    events.on_mouse = [&](const wchar_t* event, int16_t button, int16_t shift, float x, float y) {
      seen = std::wstring(event) + L" " + std::to_wstring(button) + L" " + std::to_wstring(shift) +
             L" " + std::to_wstring(std::lround(x)) + L" " + std::to_wstring(std::lround(y));
    };
    SendMessageW(edit, row.message, row.keys, MAKELPARAM(20, 6));
    EXPECT_EQ(seen, std::wstring(row.event) + L" " + std::to_wstring(row.button) + L" " +
                        std::to_wstring(row.shift) + L" 300 90");
  }
}

TEST_F(TextBoxTest, ARightClickRaisesContextMenuAtItsPointBeforeMouseUp) {
  const HWND edit = box->hWnd();
  events.on_context_menu = [](bool& handled) { handled = true; };  // else a modal menu opens
  events.log.clear();
  SendMessageW(edit, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 6));
  SendMessageW(edit, WM_RBUTTONUP, 0, MAKELPARAM(20, 6));
  ExpectLog({L"MouseDown 2", L"ContextMenu 300 90", L"MouseUp 2", L"Click"});
}

TEST_F(TextBoxTest, MouseTrackRaisesEnterOnceAndLeaveOnce) {
  box->SetMouseTrack(true);
  const HWND edit = box->hWnd();
  SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(4, 3));
  SendMessageW(edit, WM_MOUSELEAVE, 0, 0);
  SendMessageW(edit, WM_MOUSELEAVE, 0, 0);
  Log entered;
  for (const auto& entry : events.log) {
    if (entry == L"MouseEnter" || entry == L"MouseLeave") entered.push_back(entry);
  }
  EXPECT_EQ(entered, (Log{L"MouseEnter", L"MouseLeave"}));
}

TEST_F(TextBoxTest, KeyboardContextMenuReportsMinusOneAndHandledEatsIt) {
  events.on_context_menu = [](bool& handled) { handled = true; };
  const HWND edit = box->hWnd();
  EXPECT_EQ(SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(-1, -1)),
            0);
  ExpectLog({L"ContextMenu -1 -1"});
}

TEST_F(TextBoxTest, ReturnGoesToTheBoxOnlyWithWantReturnInAMultiLineBox) {
  ClickCounter ok;
  Extender& button = form.AddButton(L"Command1", L"OK", {10, 200, 90, 230});
  button.Events().Connect(&ok);
  form.SetDefaultButton(&button);
  box->SetMultiLine(true);
  box->SetText(L"");
  FocusBox(*box);
  Type(VK_RETURN);
  EXPECT_EQ(ok.clicks, 1);
  EXPECT_EQ(box->Text(), L"");
  box->SetWantReturn(true);
  FocusBox(*box);
  Type(VK_RETURN);
  EXPECT_EQ(ok.clicks, 1);
  EXPECT_EQ(box->Text(), L"\r\n");
}

TEST_F(TextBoxTest, ArrowKeysReachTheBoxAndTabOnlyWhenItIsAnInputKey) {
  TextBoxW& second = AddBox(L"TextBoxW2", {10, 120, 310, 150});
  box->SetText(L"abc");
  FocusBox(*box);
  box->SetSelStart(3);
  Type(VK_LEFT);
  EXPECT_EQ(box->SelStart(), 2);
  events.on_preview_key_down = [](int16_t key, bool& is_input_key) {
    is_input_key = key == VK_TAB;
  };
  Type(VK_TAB);
  EXPECT_EQ(GetFocus(), box->hWnd());
  events.on_preview_key_down = nullptr;
  Type(VK_TAB);
  EXPECT_EQ(GetFocus(), second.hWnd());
}

TEST_F(TextBoxTest, NumbersOnlyPasteRefusesTextWithLettersOnOlderCommonControls) {
  box->SetAllowOnlyNumbers(true);
  box->SetText(L"");
  PutOnClipboard(L"12a3");
  box->Paste();
  EXPECT_EQ(box->Text(), L"");
  PutOnClipboard(L"123");
  box->Paste();
  EXPECT_EQ(box->Text(), L"123");
}

TEST_F(TextBoxTest, TextSetByProgramInAMultiLineBoxRaisesChangeOnce) {
  box->SetMultiLine(true);
  events.log.clear();
  SetWindowTextW(box->hWnd(), L"\u65B0");
  SetWindowTextW(box->hWnd(), L"\u65B0");
  box->SetText(L"other");
  ExpectLog({L"Change", L"Change"});
}

TEST_F(TextBoxTest, AutomaticDropInsertsTheTextSelectedAtTheDropPointFromEitherFormat) {
  box->SetOLEDropMode(2);
  ComPtr<IDropTarget> target = CreateControlDropTarget(*box);
  RECT bounds{};
  GetWindowRect(box->hWnd(), &bounds);
  const POINTL point{bounds.right - 5, bounds.top + 5};  // past the end of the text
  struct Row {
    int format;
    std::wstring dropped;
  } const rows[] = {{CF_UNICODETEXT, L"\u62D6\U0001F600"}, {CF_TEXT, L"plain"}};
  for (const Row& row : rows) {
    box->SetText(L"ab");
    DataObject data;
    data.SetData(PropertyValue(row.dropped), row.format);
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, point, &effect), S_OK);
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->Drop(data.Get(), MK_LBUTTON, point, &effect), S_OK);
    EXPECT_EQ(box->Text(), L"ab" + row.dropped) << row.format;
    EXPECT_EQ(box->SelText(), row.dropped);
    EXPECT_EQ(GetFocus(), box->hWnd());
  }
}

TEST_F(TextBoxTest, UnicodeAndComposedCharactersRaiseKeyPressPerCodeUnit) {
  box->SetText(L"");
  const HWND edit = box->hWnd();
  EXPECT_EQ(SendMessageW(edit, WM_UNICHAR, UNICODE_NOCHAR, 0), TRUE);
  events.log.clear();
  SendMessageW(edit, WM_UNICHAR, 0x1F600, 1);  // arrives as its surrogate pair
  SendMessageW(edit, WM_IME_CHAR, 0x4E2D, 1);  // a character composed by the input method
  std::erase(events.log, L"Change");
  ExpectLog({L"KeyPress -10179", L"KeyPress -8704", L"KeyPress 20013"});
  EXPECT_EQ(box->Text(), L"\U0001F600\u4E2D");
}

TEST_F(TextBoxTest, SystemKeysDoubleClicksScrollingAndTheLimitRaiseTheirEvents) {
  box->SetMultiLine(true);
  box->SetScrollBars(2);
  std::wstring text;
  for (int i = 0; i < 30; ++i) text += L"\u884C\r\n";
  box->SetText(text);
  box->SetMaxLength(static_cast<int32_t>(text.size()));
  const HWND edit = box->hWnd();
  events.log.clear();
  SendMessageW(edit, WM_SYSKEYDOWN, 'X', 0x20000001);
  SendMessageW(edit, WM_SYSKEYUP, 'X', static_cast<LPARAM>(0xE0000001));
  SendMessageW(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(edit, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5), 0);
  box->SetSelStart(static_cast<int32_t>(text.size()));
  SendMessageW(edit, WM_CHAR, 'a', 1);  // one more than MaxLength allows
  std::erase(events.log, L"Change");    // Wine's edit reports one even for the refused character
  ExpectLog({L"KeyDown 88 0", L"KeyUp 88 0", L"DblClick", L"Scroll", L"KeyPress 97", L"MaxText"});
  EXPECT_EQ(box->Text(), text);
}

TEST_F(TextBoxTest, ContextMenuFromANegativeScreenPositionIsRaised) {
  events.on_context_menu = [](bool& handled) { handled = true; };
  const HWND edit = box->hWnd();
  // A monitor left of or above the primary one has negative screen coordinates.
  for (const POINT screen : {POINT{-300, 40}, POINT{40, -300}}) {
    events.log.clear();
    // Closes the edit's own menu should it open (the event missing); removed when it does not.
    PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit),
                 MAKELPARAM(screen.x, screen.y));
    MSG left{};
    PeekMessageW(&left, edit, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
    ASSERT_EQ(events.log.size(), 1u) << screen.x << "," << screen.y;
    EXPECT_NE(events.log.front(), L"ContextMenu -1 -1");
  }
}

}  // namespace
}  // namespace veltrin::controls::textbox_test
