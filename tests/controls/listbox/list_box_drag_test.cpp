// ListBoxW in OLE drag and drop: the dragged text, a drag started from code and cancelled, the
// data an automatic drag offers, a failing start handler, and scrolling near the bottom edge.
#include <ole2.h>
#include <commctrl.h>

#include "base/support/ansi_text.h"
#include "base/support/mouse_input.h"
#include "controls/base/host/drag_drop.h"
#include "controls/listbox/selected_text.h"
#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

using test::AnsiOf;

// Records what a drag start sees and cancels it.
class CancellingStart : public EventRecorder {
 public:
  explicit CancellingStart(const ListBoxW& list) : list_(list) {}
  int32_t dragged_during_start = -2;
  void OLEStartDrag(DataObject&, int32_t& allowed_effects) override {
    dragged_during_start = list_.OLEDraggedItem();
    allowed_effects = 0;
  }

 private:
  const ListBoxW& list_;
};

TEST(ListBoxDragTest, TheDraggedTextIsEverySelectedItemOnePerLine) {
  ListBoxHost host([](ListBoxW& list) { list.SetMultiSelect(1); });
  ListBoxW& list = host.List();
  host.Fill({L"\u6BB5\u843D", L"skip", L"\U0001F600b"});
  list.SetSelected(2, true);
  list.SetSelected(0, true);
  EXPECT_EQ(SelectedItemsText(list), L"\u6BB5\u843D\r\n\U0001F600b");
  list.SetSelected(0, false);
  EXPECT_EQ(SelectedItemsText(list), L"\U0001F600b");
}

TEST(ListBoxDragTest, ADragFromCodeDragsTheItemUnderThePointerUntilItIsCancelled) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b"});
  RECT second{};
  SendMessageW(list.ListHandle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  POINT over_second{second.left + 5, second.top + 2};
  ClientToScreen(list.ListHandle(), &over_second);
  struct Row {
    POINT pointer;
    int32_t dragged;
  } const rows[] = {{over_second, 1}, {{0, 0}, -1}};
  for (const Row& row : rows) {
    CancellingStart events(list);
    list.Events().Connect(&events);
    SetCursorPos(row.pointer.x, row.pointer.y);
    list.OLEDrag();
    EXPECT_EQ(events.dragged_during_start, row.dragged);
    EXPECT_EQ(list.OLEDraggedItem(), -1) << "a cancelled start leaves no dragged item";
  }
}

TEST(ListBoxDragTest, HoveringNearTheBottomScrollsOneLinePerNotification) {
  ListBoxHost host([](ListBoxW& list) { list.SetOLEDropMode(1); });
  ListBoxW& list = host.List();
  for (int i = 0; i < 40; ++i) list.AddItem(std::to_wstring(i));
  ComPtr<IDropTarget> target = CreateControlDropTarget(list);
  DataObject data;
  RECT bounds{};
  GetWindowRect(list.hWndUserControl(), &bounds);
  const POINTL near_bottom{bounds.left + 20, bounds.bottom - 5};
  DWORD effect = DROPEFFECT_COPY;
  target->DragEnter(data.Get(), MK_LBUTTON, near_bottom, &effect);
  for (int i = 0; i < 3; ++i) {
    effect = DROPEFFECT_COPY;
    target->DragOver(MK_LBUTTON, near_bottom, &effect);
  }
  EXPECT_EQ(list.TopIndex(), 3);
  EXPECT_EVENTS(host, L"Scroll", L"Scroll", L"Scroll");

  list.SetOLEDragDropScroll(false);
  effect = DROPEFFECT_COPY;
  target->DragOver(MK_LBUTTON, near_bottom, &effect);
  EXPECT_EQ(list.TopIndex(), 3);
  target->DragLeave();
}

// Records what an automatic drag offers and stops it before the system's drag loop; throws on
// request instead.
class StartRecorder : public EventRecorder {
 public:
  ByteArray unicode;
  std::string ansi;
  int32_t offered_effects = -1;
  bool fail = false;
  int starts = 0;
  void OLEStartDrag(DataObject& data, int32_t& allowed_effects) override {
    ++starts;
    if (fail) throw RunTimeError(kInvalidProcedureCall);
    if (data.GetFormat(CF_UNICODETEXT)) unicode = data.GetData(CF_UNICODETEXT).ToBytes();
    ansi = test::RawAnsiText(data.Get());
    offered_effects = allowed_effects;
    allowed_effects = 0;
  }
};

using test::SendMouse;

// Presses the left button on `item` with the real mouse and moves out of the drag rectangle, so
// the press starts an automatic drag; releases the button when the messages are handled.
void PressAndDrag(ListBoxHost& host, int item) {
  const HWND list = host.List().ListHandle();
  RECT rect{};
  SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
  POINT press{rect.left + 5, rect.top + 2};
  ClientToScreen(list, &press);
  SetCursorPos(press.x, press.y);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_MOVE, 0, 20);
  Pump(host.GetForm());
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(host.GetForm());
}

TEST(ListBoxDragTest, AnAutomaticDragOffersBothTextsTerminatedAndCopyOnly) {
  ListBoxHost host([](ListBoxW& list) { list.SetOLEDragMode(1); });
  ListBoxW& list = host.List();
  host.Fill({L"\u6BB5\U0001F600", L"b"});
  list.SetListIndex(0);
  StartRecorder events;
  list.Events().Connect(&events);
  PressAndDrag(host, 0);
  EXPECT_EQ(events.starts, 1);
  const std::wstring expected = L"\u6BB5\U0001F600";
  ByteArray terminated(reinterpret_cast<const uint8_t*>(expected.c_str()),
                       reinterpret_cast<const uint8_t*>(expected.c_str() + expected.size() + 1));
  EXPECT_EQ(events.unicode, terminated);
  EXPECT_EQ(events.ansi.substr(0, events.ansi.find('\0') + 1), AnsiOf(expected) + '\0');
  EXPECT_EQ(events.offered_effects, 1);
  EXPECT_EQ(list.OLEDraggedItem(), -1);
}

TEST(ListBoxDragTest, AFailingStartHandlerLeavesTheListAbleToDragAgain) {
  ListBoxHost host([](ListBoxW& list) { list.SetOLEDragMode(1); });
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b"});
  RECT rect{};
  SendMessageW(list.ListHandle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
  POINT over{rect.left + 5, rect.top + 2};
  ClientToScreen(list.ListHandle(), &over);
  SetCursorPos(over.x, over.y);
  StartRecorder events;
  events.fail = true;
  list.Events().Connect(&events);
  EXPECT_EQ(ErrorOf([&] { list.OLEDrag(); }), 5);
  EXPECT_EQ(list.OLEDraggedItem(), -1);
  events.fail = false;
  list.OLEDrag();
  EXPECT_EQ(events.starts, 2);
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
