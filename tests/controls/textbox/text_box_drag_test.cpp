// The text box in OLE drag and drop beyond a plain drop: the automatic drag of the selection
// within one box, the drop caret, and scrolling while a drag hovers near the edges.
#include "controls/base/host/drag_drop.h"
#include "text_box_fixture.h"

namespace veltrin::controls::textbox_test {
namespace {

POINT CharacterPoint(HWND edit, int index) {
  const LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
  return POINT{static_cast<int16_t>(LOWORD(position)), static_cast<int16_t>(HIWORD(position)) + 4};
}

void PointAt(HWND edit, POINT client) {
  ClientToScreen(edit, &client);
  SetCursorPos(client.x, client.y);
}

// Queues real mouse input: a button change, or a move by (dx, dy) pixels.
void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

int FirstVisibleLine(const TextBoxW& text_box) {
  return static_cast<int>(SendMessageW(text_box.hWnd(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

HWND CaretWindow() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetCurrentThreadId(), &info);
  return info.hwndCaret;
}

TEST_F(TextBoxTest, DraggingTheSelectionWithinTheBoxMovesItToTheDropPoint) {
  box->SetText(L"\u62D6\u52A8abc xyz");
  box->SetOLEDragMode(1);
  box->SetOLEDropMode(2);
  box->SetSelStart(0);
  box->SetSelLength(2);
  const HWND edit = box->hWnd();
  PointAt(edit, CharacterPoint(edit, 1));
  // The drop lands where the pointer is when the drag starts: after "abc".
  events.on_start_drag = [&](int32_t&) {
    PointAt(edit, CharacterPoint(edit, 5));
    SendMouse(MOUSEEVENTF_LEFTUP);
  };
  events.log.clear();
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_MOVE, 0, 20);  // out of the drag-detection rectangle
  Pump();
  EXPECT_EQ(box->Text(), L"abc\u62D6\u52A8 xyz");
  EXPECT_EQ(box->SelText(), L"\u62D6\u52A8");
  std::erase_if(events.log, [](const std::wstring& entry) { return entry == L"OLEDragOver 2 2"; });
  // The drop deletes the selection and inserts it again, each a change of the text.
  ExpectLog({L"OLEStartDrag 2", L"OLEDragOver 2 0", L"OLEDragDrop 2 0 0", L"Change", L"Change",
             L"OLECompleteDrag 2"});
}

TEST_F(TextBoxTest, PressingOverTheSelectionWithoutMovingKeepsItAndRaisesNoMouseDown) {
  box->SetText(L"abcdef");
  box->SetOLEDragMode(1);
  box->SetSelStart(1);
  box->SetSelLength(3);
  const HWND edit = box->hWnd();
  PointAt(edit, CharacterPoint(edit, 2));
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

}  // namespace
}  // namespace veltrin::controls::textbox_test
