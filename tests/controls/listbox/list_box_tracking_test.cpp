// ListBoxW while the pointer moves: MouseEnter and MouseLeave only with MouseTrack, and the
// scroll bar's thumb dragged through the system's own tracking loop with and without ScrollTrack.
#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

// Logs MouseEnter and MouseLeave, and each Scroll with the top index it left behind.
class TrackingRecorder : public EventRecorder {
 public:
  explicit TrackingRecorder(const ListBoxW& list) : list_(list) {}
  void MouseEnter() override { log.push_back(L"MouseEnter"); }
  void MouseLeave() override { log.push_back(L"MouseLeave"); }
  void Scroll() override { log.push_back(L"Scroll:" + std::to_wstring(list_.TopIndex())); }

 private:
  const ListBoxW& list_;
};

void MoveOver(const ListBoxW& list) {
  SendMessageW(list.ListHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  SendMessageW(list.ListHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(30, 25));
  SendMessageW(list.ListHandle(), WM_MOUSELEAVE, 0, 0);
}

TEST(ListBoxTrackingTest, MouseEnterAndLeaveOnlyWithMouseTrack) {
  ListBoxHost host;
  TrackingRecorder recorder(host.List());
  host.List().Events().Connect(&recorder);

  MoveOver(host.List());
  EXPECT_TRUE(recorder.log.empty());

  host.List().SetMouseTrack(true);
  MoveOver(host.List());
  MoveOver(host.List());
  EXPECT_EQ(recorder.log, (Log{L"MouseEnter", L"MouseLeave", L"MouseEnter", L"MouseLeave"}));
}

// Presses the vertical thumb and drags it down by `steps` moves of `pixels` each, then releases
// it: the moves and the release are posted first, so the scroll bar's modal tracking loop, entered
// by the press, finds them waiting.
void DragThumb(HWND list, int steps, int pixels) {
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof(bar);
  ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &bar));
  POINT thumb{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
              bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
  POINT client = thumb;
  ScreenToClient(list, &client);
  for (int step = 1; step <= steps; ++step) {
    PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y + step * pixels));
  }
  PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y + steps * pixels));
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
}

std::vector<std::wstring> ScrollsOfADrag(bool scroll_track) {
  ListBoxHost host;
  TrackingRecorder recorder(host.List());
  host.List().Events().Connect(&recorder);
  host.List().SetScrollTrack(scroll_track);
  for (int i = 0; i < 200; ++i) host.List().AddItem(L"item " + std::to_wstring(i));
  Pump(host.GetForm());
  DragThumb(host.List().ListHandle(), 2, 20);
  Pump(host.GetForm());
  EXPECT_GT(host.List().TopIndex(), 0);
  return recorder.log;
}

TEST(ListBoxTrackingTest, WithoutScrollTrackTheThumbScrollsOnceOnRelease) {
  const std::vector<std::wstring> tracked = ScrollsOfADrag(true);
  const std::vector<std::wstring> untracked = ScrollsOfADrag(false);
  ASSERT_EQ(tracked.size(), 2u) << SideBySide({}, tracked);
  ASSERT_EQ(untracked.size(), 1u) << SideBySide({}, untracked);
  // Both end where the thumb was released.
  EXPECT_EQ(untracked.back(), tracked.back());
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
