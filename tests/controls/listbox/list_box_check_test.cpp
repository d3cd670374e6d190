// Check-box and option lists: the check-state store following insertions and removals, toggling
// with Space and the mouse with their events and repaint, on either side, and cancelling.
#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

PropertyBag CheckBoxStyle(int32_t style, bool sorted = false) {
  return StoredProperties({{L"Style", PropertyValue(style)}, {L"Sorted", PropertyValue(sorted)}});
}

RECT ItemRect(const ListBoxW& list, int index) {
  RECT rect{};
  SendMessageW(list.ListHandle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// The bounds of what is waiting to be repainted in the list.
RECT PendingRepaint(const ListBoxW& list) {
  RECT rect{};
  GetUpdateRect(list.ListHandle(), &rect, FALSE);
  return rect;
}

void Press(ListBoxW& list, int x, int y) {
  const LPARAM point = MAKELPARAM(x, y);
  SendMessageW(list.ListHandle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(list.ListHandle(), WM_LBUTTONUP, 0, point);
}

TEST(ListBoxCheckTest, CheckStatesFollowSortedInsertionAndRemoval) {
  PropertyBag stored = CheckBoxStyle(1, true);
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  EXPECT_EQ(list.Style(), 1);
  list.AddItem(L"b");
  list.SetItemChecked(0, true);
  list.AddItem(L"a");
  EXPECT_EQ(list.NewIndex(), 0);
  EXPECT_FALSE(list.ItemChecked(0));
  EXPECT_TRUE(list.ItemChecked(1));
  EXPECT_EQ(list.CheckCount(), 2);
  EXPECT_EQ(list.CheckedIndices(), (std::vector<int32_t>{1}));
  list.RemoveItem(0);
  EXPECT_TRUE(list.ItemChecked(0));
  list.RemoveItem(0);
  EXPECT_EQ(list.CheckCount(), 0);
  EXPECT_EQ(ErrorOf([&] { (void)list.ItemChecked(0); }), 381);
  EXPECT_EVENTS(host, L"ItemBeforeCheck:0", L"ItemCheck:0");
}

TEST(ListBoxCheckTest, OptionIndexFollowsInsertionAndRemoval) {
  PropertyBag stored = CheckBoxStyle(2);
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  host.Fill({L"0", L"1", L"2", L"3", L"4"});
  list.SetOptionIndex(3);
  list.AddItem(L"new", PropertyValue(int32_t{1}));
  EXPECT_EQ(list.OptionIndex(), 4);
  list.RemoveItem(0);
  EXPECT_EQ(list.OptionIndex(), 3);
  list.RemoveItem(3);
  EXPECT_EQ(list.OptionIndex(), -1);
  EXPECT_EQ(ErrorOf([&] { list.SetOptionIndex(9); }), 381);
  list.SetOptionIndex(3);
  list.RemoveItem(0);
  EXPECT_EQ(list.OptionIndex(), 2) << "the option on the last item moves up with it";
  list.SetOptionIndex(-1);
  EXPECT_EQ(list.OptionIndex(), -1);
  EXPECT_EVENTS(host, L"ItemBeforeCheck:3", L"ItemCheck:3", L"ItemBeforeCheck:3", L"ItemCheck:3",
                L"ItemBeforeCheck:2", L"ItemCheck:2");
}

TEST(ListBoxCheckTest, SpaceTogglesTheCurrentItemAndRepaintsOnlyIt) {
  PropertyBag stored = CheckBoxStyle(1);
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  host.Fill({L"one", L"two", L"three"});
  list.SetListIndex(1);
  UpdateWindow(list.ListHandle());
  host.Events().clear();
  SendMessageW(list.ListHandle(), WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_EVENTS(host, L"KeyDown:32", L"ItemBeforeCheck:1", L"ItemCheck:1");
  EXPECT_TRUE(list.ItemChecked(1));
  const RECT item = ItemRect(list, 1);
  const RECT pending = PendingRepaint(list);
  EXPECT_TRUE(EqualRect(&item, &pending)) << pending.top << " " << pending.bottom;

  host.Recorder().cancel_checks = true;
  SendMessageW(list.ListHandle(), WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_EVENTS(host, L"KeyDown:32", L"ItemBeforeCheck:1");
  EXPECT_TRUE(list.ItemChecked(1));

  host.Recorder().cancel_checks = false;
  host.Recorder().zero_key_codes = true;
  SendMessageW(list.ListHandle(), WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_EVENTS(host, L"KeyDown:32");
  EXPECT_TRUE(list.ItemChecked(1));
  SendMessageW(list.ListHandle(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(list.ListIndex(), 1) << "the list received the key code KeyDown left";
  host.Recorder().zero_key_codes = false;
  SendMessageW(list.ListHandle(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(list.ListIndex(), 2);
}

TEST(ListBoxCheckTest, MouseTogglesOnTheGlyphOrTheSelectedItemsText) {
  PropertyBag stored = CheckBoxStyle(1);
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  host.Fill({L"one", L"two", L"three"});
  const RECT first = ItemRect(list, 0);
  const RECT second = ItemRect(list, 1);
  Press(list, first.left + 40, first.top + 3);  // text of an unselected item: select only
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_FALSE(list.ItemChecked(0));
  Press(list, first.left + 40, first.top + 3);  // text of the selected item: toggle
  EXPECT_TRUE(list.ItemChecked(0));
  Press(list, second.left + 4, second.top + 3);  // glyph of another item: toggle
  EXPECT_TRUE(list.ItemChecked(1));
  EXPECT_EQ(list.CheckedIndices(), (std::vector<int32_t>{0, 1}));
}

TEST(ListBoxCheckTest, RightToLeftGlyphsToggleOnTheRight) {
  PropertyBag stored = CheckBoxStyle(1);
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  list.SetRightToLeftMode(0);
  list.SetRightToLeft(true);
  host.Fill({L"one", L"two", L"three"});
  const RECT first = ItemRect(list, 0);
  const RECT second = ItemRect(list, 1);
  Press(list, first.left + 4, first.top + 3);  // left end of an unselected item: select only
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_FALSE(list.ItemChecked(0));
  Press(list, second.right - 4, second.top + 3);  // the glyph, on the right: toggle
  EXPECT_TRUE(list.ItemChecked(1));
  EXPECT_EQ(list.CheckedIndices(), (std::vector<int32_t>{1}));
}

TEST(ListBoxCheckTest, OptionListMovesTheOptionButNeverClearsIt) {
  PropertyBag stored = CheckBoxStyle(2);
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  host.Fill({L"one", L"two", L"three"});
  const RECT first = ItemRect(list, 0);
  const RECT third = ItemRect(list, 2);
  Press(list, first.left + 4, first.top + 3);
  EXPECT_EQ(list.OptionIndex(), 0);
  host.Events().clear();
  Press(list, first.left + 4, first.top + 3);
  EXPECT_EQ(list.OptionIndex(), 0);
  EXPECT_EVENTS(host, L"MouseDown:1", L"Click");
  UpdateWindow(list.ListHandle());
  Press(list, third.left + 4, third.top + 3);
  EXPECT_EQ(list.OptionIndex(), 2);
  const RECT pending = PendingRepaint(list);
  EXPECT_LE(pending.top, first.top);
  EXPECT_GE(pending.bottom, third.bottom);
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
