// ListBoxW in OLE drag and drop: the dragged text, a drag started from code and cancelled, and
// scrolling while a drag hovers near the bottom edge.
#include <ole2.h>

#include "controls/base/host/drag_drop.h"
#include "controls/listbox/selected_text.h"
#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

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

TEST(ListBoxDragTest, ADragFromCodeOverNoItemThatIsCancelledLeavesNoDraggedItem) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b"});
  CancellingStart events(list);
  list.Events().Connect(&events);
  SetCursorPos(0, 0);
  list.OLEDrag();
  EXPECT_EQ(events.dragged_during_start, -1);
  EXPECT_EQ(list.OLEDraggedItem(), -1);
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

}  // namespace
}  // namespace veltrin::controls::list_box_test
