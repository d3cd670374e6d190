// Re-creation of ListBoxW's native list when a style-bearing property changes: what it keeps, the
// Click it raises, the font it carries, and that it leaks no window or GDI object.
#include "list_box_fixture.h"
#include "tests/support/gui_objects.h"

namespace veltrin::controls::list_box_test {
namespace {

TEST(ListBoxRecreateTest, SortedAtRunTimeKeepsTheOrderAndSortsLaterItems) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"c", L"a"});
  const HWND before = list.ListHandle();
  list.SetSorted(true);
  EXPECT_NE(list.ListHandle(), before);
  EXPECT_TRUE(GetWindowLongW(list.ListHandle(), GWL_STYLE) & LBS_SORT);
  EXPECT_EQ(list.List(0), L"c");
  EXPECT_EQ(list.List(1), L"a");
  list.AddItem(L"b");
  EXPECT_EQ(list.List(list.NewIndex()), L"b");
  EXPECT_EQ(list.ListCount(), 3);
}

TEST(ListBoxRecreateTest, SingleSelectionRecreationRaisesClickOnce) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"one", L"two", L"three"});
  list.SetListIndex(2);
  host.Events().clear();
  list.SetUseTabStops(false);
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EVENTS(host, L"Click");
}

TEST(ListBoxRecreateTest, MultiSelectChangeKeepsItemsDataSelectionAndPosition) {
  ListBoxHost host([](ListBoxW& list) { list.SetMultiSelect(1); });
  ListBoxW& list = host.List();
  for (int i = 0; i < 40; ++i) {
    list.AddItem(L"item \u6BB5 " + std::to_wstring(i));
    list.SetItemData(i, i * 10);
  }
  list.SetSelected(3, true);
  list.SetSelected(30, true);
  list.SetListIndex(30);
  list.SetTopIndex(20);
  list.AddItem(L"last");
  list.SetMultiSelect(2);
  EXPECT_TRUE(GetWindowLongW(list.ListHandle(), GWL_STYLE) & LBS_EXTENDEDSEL);
  ASSERT_EQ(list.ListCount(), 41);
  EXPECT_EQ(list.List(7), L"item \u6BB5 7");
  EXPECT_EQ(list.ItemData(39), 390);
  EXPECT_EQ(list.SelectedIndices(), (std::vector<int32_t>{3, 30}));
  EXPECT_EQ(list.ListIndex(), 30);
  EXPECT_EQ(list.TopIndex(), 20);
  EXPECT_EQ(list.NewIndex(), 40);
}

TEST(ListBoxRecreateTest, FontIsCarriedToEveryNewList) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  auto font = std::make_shared<FontObject>(L"Arial", 14);
  list.SetFont(font);
  const HFONT first = reinterpret_cast<HFONT>(SendMessageW(list.ListHandle(), WM_GETFONT, 0, 0));
  ASSERT_NE(first, nullptr);
  list.SetAllowSelection(false);
  const HFONT second = reinterpret_cast<HFONT>(SendMessageW(list.ListHandle(), WM_GETFONT, 0, 0));
  ASSERT_NE(second, nullptr);
  LOGFONTW description{};
  GetObjectW(second, sizeof(description), &description);
  EXPECT_STREQ(description.lfFaceName, L"Arial");
  font->SetBold(true);
  const HFONT bold = reinterpret_cast<HFONT>(SendMessageW(list.ListHandle(), WM_GETFONT, 0, 0));
  GetObjectW(bold, sizeof(description), &description);
  EXPECT_EQ(description.lfWeight, 700);
}

TEST(ListBoxRecreateTest, ThousandRecreationsLeaveGuiResourcesFlat) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b"});
  list.SetUseTabStops(false);
  const veltrin::test::GuiObjectCounts before = veltrin::test::CurrentGuiObjectCounts();
  for (int i = 0; i < 1000; ++i) list.SetUseTabStops(i % 2 == 0);
  const veltrin::test::GuiObjectCounts after = veltrin::test::CurrentGuiObjectCounts();
  EXPECT_LE(after.gdi, before.gdi + 2);
  EXPECT_LE(after.user, before.user + 2);
  EXPECT_EQ(list.ListCount(), 2);
}

TEST(ListBoxRecreateTest, RestrictedSettersRaiseTheirErrors) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  EXPECT_EQ(ErrorOf([&] { list.SetMultiSelect(3); }), 380);
  EXPECT_EQ(ErrorOf([&] { list.SetIntegralHeight(false); }), 382);
  EXPECT_EQ(ErrorOf([&] { list.SetStyle(1); }), 382);
  EXPECT_EQ(ErrorOf([&] { list.SetDrawMode(1); }), 382);
  EXPECT_EQ(ErrorOf([&] { list.SetDrawMode(3); }), 380);
  EXPECT_EQ(ErrorOf([&] { list.SetBorderStyle(5); }), 380);
  EXPECT_EQ(list.MultiSelect(), 0);
  EXPECT_EQ(list.BorderStyle(), 3);
}

TEST(ListBoxRecreateTest, TurningSelectionOffRestoresWhatTheNewListAccepts) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  for (int i = 0; i < 30; ++i) list.AddItem(std::to_wstring(i));
  list.SetListIndex(2);
  list.SetTopIndex(5);
  list.SetInsertMark(4);
  host.Events().clear();
  EXPECT_EQ(ErrorOf([&] { list.SetAllowSelection(false); }), 0);
  EXPECT_FALSE(list.AllowSelection());
  EXPECT_TRUE(GetWindowLongW(list.ListHandle(), GWL_STYLE) & LBS_NOSEL);
  EXPECT_EQ(list.ListCount(), 30);
  EXPECT_EQ(list.TopIndex(), 5);
  EXPECT_EQ(list.InsertMark(), 4);
  EXPECT_EVENTS(host, L"Click", L"Scroll");
}

TEST(ListBoxRecreateTest, TheOptionOfAStyle2ListSurvivesARecreation) {
  PropertyBag stored = StoredProperties({{L"Style", PropertyValue(int32_t{2})}});
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b", L"c"});
  list.SetOptionIndex(1);
  for (void (*change)(ListBoxW&) :
       {+[](ListBoxW& l) { l.SetSorted(true); }, +[](ListBoxW& l) { l.SetUseTabStops(false); },
        +[](ListBoxW& l) { l.SetMultiColumn(true); }}) {
    const HWND before = list.ListHandle();
    change(list);
    ASSERT_NE(list.ListHandle(), before);
    EXPECT_EQ(list.OptionIndex(), 1);
    EXPECT_TRUE(list.ItemChecked(1));
  }
}

TEST(ListBoxRecreateTest, RightToLeftIsTheResolvedValueOnEveryCreation) {
  ListBoxHost host;  // the form reads left to right: RightToLeftMode 1 resolves to False
  ListBoxW& list = host.List();
  list.SetRightToLeft(true);
  EXPECT_FALSE(GetWindowLongW(list.ListHandle(), GWL_EXSTYLE) & WS_EX_RTLREADING);
  list.SetSorted(true);
  EXPECT_FALSE(GetWindowLongW(list.ListHandle(), GWL_EXSTYLE) & WS_EX_RTLREADING);
  list.SetRightToLeftMode(0);  // no longer follows the form
  EXPECT_TRUE(GetWindowLongW(list.ListHandle(), GWL_EXSTYLE) & WS_EX_RTLREADING);
  list.SetSorted(false);
  EXPECT_TRUE(GetWindowLongW(list.ListHandle(), GWL_EXSTYLE) & WS_EX_RTLREADING);
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
