// The text box in OLE drag and drop beyond a plain drop: the automatic drag of the selection
// within one box and what it offers, the drop caret, and scrolling while a drag hovers near the
// edges.
#include "base/support/ansi_text.h"
#include "base/support/mouse_input.h"
#include "controls/base/host/drag_drop.h"
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

using test::AnsiOf;

// The screen point at the left edge of the character `index` of an edit.
POINT ScreenPointOf(HWND edit, int index) {
  const LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
  POINT point{static_cast<int16_t>(LOWORD(position)), static_cast<int16_t>(HIWORD(position)) + 4};
  ClientToScreen(edit, &point);
  return point;
}

using test::SendMouse;

int FirstVisibleLine(const TextBoxW& text_box) {
  return static_cast<int>(SendMessageW(text_box.hWnd(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

HWND CaretWindow() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetCurrentThreadId(), &info);
  return info.hwndCaret;
}

class TextBoxDragTest : public TextBoxTest {
 protected:
  // Presses the left button at `press`, moves out of the drag-detection rectangle and, once the
  // drag has started, releases the button over `drop` (screen points); returns when it is over.
  void DragWithTheMouse(POINT press, POINT drop) {
    SetCursorPos(press.x, press.y);
    events.on_start_drag = [drop](DataObject&, int32_t&) {
      SetCursorPos(drop.x, drop.y);
      SendMouse(MOUSEEVENTF_LEFTUP);
    };
    events.log.clear();
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_MOVE, 0, 20);
    Pump();
    // Drag-over notifications come as often as the system sends them.
    std::erase_if(events.log,
                  [](const std::wstring& entry) { return entry == L"OLEDragOver 2 2"; });
  }
  void SelectDraggable(TextBoxW& text_box, const std::wstring& text, int start, int length) {
    text_box.SetText(text);
    text_box.SetOLEDragMode(1);
    text_box.SetOLEDropMode(2);
    text_box.SetSelStart(start);
    text_box.SetSelLength(length);
  }
};

TEST_F(TextBoxDragTest, DraggingTheSelectionWithinTheBoxMovesItToTheDropPoint) {
  SelectDraggable(*box, L"\u62D6\u52A8abc xyz", 0, 2);
  DragWithTheMouse(ScreenPointOf(box->hWnd(), 1), ScreenPointOf(box->hWnd(), 5));
  EXPECT_EQ(box->Text(), L"abc\u62D6\u52A8 xyz");
  EXPECT_EQ(box->SelText(), L"\u62D6\u52A8");
  // The drop deletes the selection and inserts it again, each a change of the text.
  ExpectLog({L"OLEStartDrag 2", L"OLEDragOver 2 0", L"OLEDragDrop 2 0 0", L"Change", L"Change",
             L"OLECompleteDrag 2"});
}

TEST_F(TextBoxDragTest, AnAutomaticDragOffersTheSelectionInBothFormatsTerminatedForAMove) {
  const std::wstring selected = L"\u62D6\U0001F600";
  SelectDraggable(*box, L"a" + selected + L"b", 1, 3);
  ByteArray unicode;
  std::string ansi;
  int32_t offered = -1;
  events.on_start_drag = [&](DataObject& data, int32_t& allowed_effects) {
    unicode = data.GetData(CF_UNICODETEXT).ToBytes();
    ansi = test::RawAnsiText(data.Get());
    offered = allowed_effects;
    allowed_effects = 0;  // no drag loop
  };
  box->OLEDrag();
  ByteArray expected(reinterpret_cast<const uint8_t*>(selected.c_str()),
                     reinterpret_cast<const uint8_t*>(selected.c_str() + selected.size() + 1));
  EXPECT_EQ(unicode, expected);
  EXPECT_EQ(ansi.substr(0, ansi.find('\0') + 1), AnsiOf(selected) + '\0') << "terminated";
  EXPECT_EQ(offered, DROPEFFECT_MOVE);
}

TEST_F(TextBoxDragTest, DroppingTheSelectionOntoItselfChangesNothing) {
  SelectDraggable(*box, L"abc xyz", 1, 3);
  DragWithTheMouse(ScreenPointOf(box->hWnd(), 2), ScreenPointOf(box->hWnd(), 3));
  EXPECT_EQ(box->Text(), L"abc xyz");
  EXPECT_EQ(box->SelStart(), 1);
  EXPECT_EQ(box->SelLength(), 3);
  ExpectLog({L"OLEStartDrag 2", L"OLEDragOver 2 0", L"OLEDragDrop 2 0 0", L"OLECompleteDrag 0"});
}

TEST_F(TextBoxDragTest, TheSelectionMovedToAnotherWindowLeavesTheBoxWhenTheDragCompletes) {
  TextBoxW& other = AddBox(L"TextBoxW2", {10, 120, 310, 150});
  other.SetText(L"12");
  other.SetOLEDropMode(2);
  SelectDraggable(*box, L"ab\u79FB\u52A8cd", 2, 2);
  DragWithTheMouse(ScreenPointOf(box->hWnd(), 3), ScreenPointOf(other.hWnd(), 1));
  EXPECT_EQ(other.Text(), L"1\u79FB\u52A82");
  EXPECT_EQ(other.SelText(), L"\u79FB\u52A8");
  EXPECT_EQ(GetFocus(), other.hWnd()) << "the box that takes a drop from elsewhere takes the focus";
  EXPECT_EQ(box->Text(), L"abcd");
  ExpectLog({L"OLEStartDrag 2", L"Change", L"OLECompleteDrag 2"});
}

TEST_F(TextBoxDragTest, PressingOverTheSelectionWithoutMovingKeepsItAndRaisesNoMouseDown) {
  SelectDraggable(*box, L"abcdef", 1, 3);
  const POINT press = ScreenPointOf(box->hWnd(), 2);
  SetCursorPos(press.x, press.y);
  events.log.clear();
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump();
  EXPECT_EQ(box->SelStart(), 1);
  EXPECT_EQ(box->SelLength(), 3);
  ExpectLog({});
}

TEST_F(TextBoxTest, AHoveringDragScrollsNearTheEdgesAndShowsTheDropCaret) {
  box->SetMultiLine(true);
  box->SetScrollBars(2);
  std::wstring text;
  for (int i = 0; i < 40; ++i) text += L"\u884C " + std::to_wstring(i) + L"\r\n";
  box->SetText(text);
  box->SetOLEDropMode(2);
  DataObject data;
  data.SetData(PropertyValue(std::wstring(L"\u62D6")), CF_UNICODETEXT);
  ComPtr<IDropTarget> target = CreateControlDropTarget(*box);
  RECT bounds{};
  GetWindowRect(box->hWnd(), &bounds);
  const LONG middle = (bounds.left + bounds.right) / 2;
  auto drag_over = [&](POINTL point) {
    DWORD effect = DROPEFFECT_COPY;
    target->DragOver(MK_LBUTTON, point, &effect);
  };
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, {bounds.left + 8, bounds.top + 30}, &effect),
            S_OK);
  drag_over({bounds.left + 8, bounds.top + 30});
  EXPECT_EQ(FirstVisibleLine(*box), 0) << "away from the edges nothing scrolls";
  EXPECT_EQ(CaretWindow(), box->hWnd()) << "the drop caret shows in the edit";

  drag_over({middle, bounds.bottom - 4});
  drag_over({middle, bounds.bottom - 4});
  EXPECT_EQ(FirstVisibleLine(*box), 2) << "one line per notification near the bottom";
  drag_over({middle, bounds.top + 4});
  EXPECT_EQ(FirstVisibleLine(*box), 1);

  box->SetOLEDragDropScroll(false);
  drag_over({middle, bounds.bottom - 4});
  EXPECT_EQ(FirstVisibleLine(*box), 1) << "no scrolling when it is switched off";

  ASSERT_EQ(target->DragLeave(), S_OK);
  EXPECT_EQ(CaretWindow(), nullptr) << "leaving removes the caret of a box without the focus";
  EXPECT_EQ(box->Text(), text);
}

TEST_F(TextBoxTest, ADragLeavingTheFocusedBoxGivesTheCaretBackToTheEdit) {
  box->SetText(L"abcdef");
  box->SetOLEDropMode(2);
  FocusBox(*box);
  box->SetSelStart(1);
  POINT own{};
  GetCaretPos(&own);
  DataObject data;
  data.SetData(PropertyValue(std::wstring(L"x")), CF_UNICODETEXT);
  ComPtr<IDropTarget> target = CreateControlDropTarget(*box);
  const POINT over = ScreenPointOf(box->hWnd(), 5);
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, {over.x, over.y}, &effect), S_OK);
  effect = DROPEFFECT_COPY;
  target->DragOver(MK_LBUTTON, {over.x, over.y}, &effect);
  POINT dropping{};
  GetCaretPos(&dropping);
  EXPECT_GT(dropping.x, own.x) << "the drop caret follows the pointer";
  ASSERT_EQ(target->DragLeave(), S_OK);
  POINT after{};
  GetCaretPos(&after);
  EXPECT_EQ(after.x, own.x);
  EXPECT_EQ(after.y, own.y);
  EXPECT_EQ(CaretWindow(), box->hWnd());
}

TEST_F(TextBoxTest, PointsFarIntoALongTextFindTheirCharacter) {
  box->SetMultiLine(true);
  box->SetScrollBars(2);
  box->SetOLEDropMode(2);
  std::wstring text;
  for (int i = 0; i < 9000; ++i) text += L"\u884C" + std::to_wstring(10000 + i) + L"\r\n";
  box->SetText(text);
  box->ScrollToLine(box->GetLineCount());
  const HWND edit = box->hWnd();
  const auto first_line = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
  const auto line_start = static_cast<int32_t>(SendMessageW(edit, EM_LINEINDEX, first_line, 0));
  ASSERT_GT(line_start, 0xFFFF) << "the index needs more than 16 bits";
  EXPECT_EQ(box->CharFromPos(0, 0), line_start);

  DataObject data;
  data.SetData(PropertyValue(std::wstring(L"\u62D6")), CF_UNICODETEXT);
  ComPtr<IDropTarget> target = CreateControlDropTarget(*box);
  const POINT over = ScreenPointOf(edit, line_start + 2);
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, {over.x, over.y}, &effect), S_OK);
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(target->Drop(data.Get(), MK_LBUTTON, {over.x, over.y}, &effect), S_OK);
  EXPECT_EQ(box->SelStart(), line_start + 2);
  EXPECT_EQ(box->SelText(), L"\u62D6");
  EXPECT_EQ(box->Text().size(), text.size() + 1);
}

// Scrolls the edit horizontally until the character at `index` of the line starting at
// `line_start` is in view. EM_SCROLLCARET cannot: the edit reads the caret's position as 16 bits.
void ScrollIntoView(HWND edit, const std::wstring& text, int line_start, int index) {
  const HDC dc = GetDC(edit);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  SIZE prefix{};
  GetTextExtentPoint32W(dc, text.c_str() + line_start, index - line_start, &prefix);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  for (int step = 0; step < 4; ++step) {
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_POS;
    GetScrollInfo(edit, SB_HORZ, &scroll);
    const LONG wanted = prefix.cx - 40;
    SendMessageW(edit, EM_LINESCROLL, (wanted - scroll.nPos) / metrics.tmAveCharWidth, 0);
  }
}

TEST_F(TextBoxTest, PointsFarIntoALongLineFindTheirCharacter) {
  form.SetScaleMode(ScaleUnit::kPixels);
  box->SetMultiLine(true);
  box->SetScrollBars(3);  // no word wrap: one long line
  box->SetOLEDropMode(2);
  const std::wstring text = L"x\r\n" + std::wstring(70000, L'a');
  box->SetText(text);
  const HWND edit = box->hWnd();
  // Wine measures a line's width in 16 bits, so it cannot scroll beyond 65,536 pixels into it:
  // the points tested lie between 32,768 and 65,535 units into the line.
  for (const int32_t index : {3 + 33000, 3 + 40000}) {
    ScrollIntoView(edit, text, 3, index);
    const POINT over = ScreenPointOf(edit, index);
    POINT client = over;
    ScreenToClient(edit, &client);
    EXPECT_EQ(box->CharFromPos(static_cast<float>(client.x), static_cast<float>(client.y)), index);
  }
}

}  // namespace
}  // namespace veltrin::controls::textbox_test
