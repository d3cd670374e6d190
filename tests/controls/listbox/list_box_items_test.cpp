// Items and selection of ListBoxW on a real native list: index rules and their errors, Unicode
// texts, searching, single and multiple selection with their Click events, hit testing, the anchor
// and the ideal horizontal extent.
#include <algorithm>

#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

const std::wstring kChinese = L"\u6BB5\u843D\u6587\u672C";
const std::wstring kSurrogates = L"\U0001F600\U00020BB7x";

std::vector<std::wstring> Items(const ListBoxW& list) {
  std::vector<std::wstring> items;
  for (int32_t i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
  return items;
}

TEST(ListBoxItemsTest, AddItemIndexRulesAndErrorsChangeNothing) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  list.AddItem(L"b", PropertyValue(int16_t{0}));
  EXPECT_EQ(list.NewIndex(), 0);
  list.AddItem(L"c");
  list.AddItem(L"d");
  list.AddItem(L"a", PropertyValue(L"2"));
  EXPECT_EQ(list.NewIndex(), 2);
  list.AddItem(L"f", PropertyValue(uint8_t{4}));
  EXPECT_EQ(list.NewIndex(), 4);
  list.RemoveItem(4);
  list.AddItem(L"e", PropertyValue(1.0));
  EXPECT_EQ(list.NewIndex(), 1);
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"b", L"e", L"c", L"a", L"d"}));

  EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", PropertyValue(int32_t{-1})); }), 5);
  EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", PropertyValue(int32_t{99})); }), 5);
  EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", PropertyValue(true)); }), 13);
  EXPECT_EQ(ErrorOf([&] { list.AddItem(L"x", PropertyValue(L"two")); }), 13);
  EXPECT_EQ(ErrorOf([&] { list.RemoveItem(-1); }), 5);
  EXPECT_EQ(ErrorOf([&] { list.RemoveItem(5); }), 5);
  EXPECT_EQ(ErrorOf([&] { (void)list.List(5); }), 5);
  EXPECT_EQ(ErrorOf([&] { list.SetList(-1, L"x"); }), 5);
  EXPECT_EQ(ErrorOf([&] { (void)list.ItemData(-1); }), 381);
  EXPECT_EQ(ErrorOf([&] { list.SetItemData(5, 1); }), 381);
  EXPECT_EQ(ErrorOf([&] { list.SetListIndex(5); }), 380);
  EXPECT_EQ(ErrorOf([&] { list.SetTopIndex(-1); }), 380);
  EXPECT_EQ(ErrorOf([&] { (void)list.FindItem(L"a", 99); }), 381);
  EXPECT_EQ(ErrorOf([&] { (void)list.Selected(5); }), 381);
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"b", L"e", L"c", L"a", L"d"}));
  EXPECT_EQ(list.NewIndex(), 1);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_TRUE(host.Events().empty());

  list.RemoveItem(0);
  EXPECT_EQ(list.NewIndex(), -1);
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
}

TEST(ListBoxItemsTest, UnicodeTextsSurviveAddReadReplaceAndFind) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"alpha", L"Beta"});
  list.AddItem(kChinese);
  list.AddItem(kSurrogates);
  EXPECT_EQ(list.List(2), kChinese);
  EXPECT_EQ(list.List(3), kSurrogates);
  EXPECT_EQ(list.FindItem(kSurrogates), 3);
  EXPECT_EQ(list.FindItem(L"\U0001F600", -1, true), 3);
  EXPECT_EQ(list.FindItem(L"\U0001F600"), -1);
  EXPECT_EQ(list.FindItem(L"BE", -1, true), 1);

  list.SetItemData(2, 77);
  list.SetListIndex(2);
  host.Events().clear();
  list.SetList(2, kSurrogates + kChinese);
  EXPECT_EQ(list.List(2), kSurrogates + kChinese);
  EXPECT_EQ(list.ItemData(2), 77);
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EQ(list.Text(), kSurrogates + kChinese);
  // The replaced item lost its selection with the old text; restoring it is a change.
  EXPECT_EVENTS(host, L"Click");
}

TEST(ListBoxItemsTest, ASortedListPlacesUnicodeTextsInTheSystemsOrderUnchanged) {
  ListBoxHost host([](ListBoxW& list) { list.SetSorted(true); });
  ListBoxW& list = host.List();
  const std::vector<std::wstring> texts{kSurrogates, L"b", kChinese,
                                        L"\u4E00",   L"A", L"\U00020BB7"};
  for (const std::wstring& text : texts) {
    list.AddItem(text);
    EXPECT_EQ(list.List(list.NewIndex()), text);
  }
  std::vector<std::wstring> items = Items(list);
  ASSERT_EQ(items.size(), texts.size());
  EXPECT_TRUE(std::is_permutation(items.begin(), items.end(), texts.begin()));
  EXPECT_EQ(items[0], L"A");
  for (size_t i = 1; i < items.size(); ++i) {
    EXPECT_LE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, items[i - 1].c_str(), -1,
                             items[i].c_str(), -1),
              CSTR_EQUAL)
        << i;
  }
}

TEST(ListBoxItemsTest, SingleSelectionRaisesClickOnlyForChanges) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"one", L"two", L"three"});
  list.SetListIndex(-1);
  EXPECT_EVENTS(host);
  list.SetListIndex(1);
  list.SetListIndex(1);
  EXPECT_EVENTS(host, L"Click");
  list.SetSelected(0, false);
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EVENTS(host);
  list.SetSelected(1, false);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EVENTS(host, L"Click");
  list.SetText(L"THREE");
  EXPECT_EQ(list.ListIndex(), 2);
  list.SetText(L"none");
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(list.SelCount(), 0);
  EXPECT_EQ(list.Text(), L"");
  EXPECT_EVENTS(host, L"Click", L"Click");
}

TEST(ListBoxItemsTest, UserClicksRaiseClickAndDblClick) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"one", L"two"});
  RECT item{};
  SendMessageW(list.ListHandle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  const LPARAM point = MAKELPARAM(item.left + 5, item.top + 2);
  SendMessageW(list.ListHandle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(list.ListHandle(), WM_LBUTTONUP, 0, point);
  SendMessageW(list.ListHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  SendMessageW(list.ListHandle(), WM_LBUTTONUP, 0, point);
  Pump(host.GetForm());
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EVENTS(host, L"MouseDown:1", L"Click", L"DblClick");
}

TEST(ListBoxItemsTest, MultipleSelectionRangesAndIndices) {
  ListBoxHost host([](ListBoxW& list) { list.SetMultiSelect(2); });
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b", L"c", L"d"});
  list.SetSelRange(1, 2);
  EXPECT_EVENTS(host, L"Click");
  EXPECT_EQ(list.SelCount(), 2);
  EXPECT_EQ(list.SelectedIndices(), (std::vector<int32_t>{1, 2}));
  list.SetSelected(2, true);
  EXPECT_EVENTS(host);
  list.SetSelected(3, true);
  EXPECT_EVENTS(host, L"Click");
  EXPECT_EQ(ErrorOf([&] { list.SetSelRange(0, 9); }), 381);
  EXPECT_EQ(list.SelCount(), 3);
}

TEST(ListBoxItemsTest, ItemDataOfAMissingItemRaises381AndChangesNoItem) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b"});
  for (const int32_t index : {-1, 2}) {
    EXPECT_EQ(ErrorOf([&] { list.SetItemData(index, 7); }), 381) << index;
    EXPECT_EQ(ErrorOf([&] { (void)list.ItemData(index); }), 381) << index;
  }
  EXPECT_EQ(list.ItemData(0), 0);
  EXPECT_EQ(list.ItemData(1), 0);
}

TEST(ListBoxItemsTest, HwndIsTheNativeListAsInTheTextBox) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  EXPECT_EQ(list.hWnd(), list.ListHandle());
  EXPECT_EQ(GetParent(list.hWnd()), list.hWndUserControl());
}

TEST(ListBoxItemsTest, CharactersAboveTheBasicPlaneArriveAsASurrogatePair) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  EXPECT_EQ(SendMessageW(list.ListHandle(), WM_UNICHAR, UNICODE_NOCHAR, 0), TRUE);
  SendMessageW(list.ListHandle(), WM_UNICHAR, 0x1F600, 1);
  SendMessageW(list.ListHandle(), WM_UNICHAR, 0x6BB5, 1);
  // KeyPress carries the UTF-16 unit as a signed 16-bit number.
  EXPECT_EVENTS(host, L"KeyPress:-10179", L"KeyPress:-8704", L"KeyPress:27573");
}

TEST(ListBoxItemsTest, HitTestFindsTheItemAndWhichHalfOfItUnderAPoint) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"a", L"b", L"c"});
  RECT item{};
  SendMessageW(list.ListHandle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  constexpr float kTwips = 15;  // per pixel
  struct Row {
    int y;  // client pixels
    int32_t expected;
    bool after;  // as left by the call; true when untouched
  } const rows[] = {
      {item.top + 1, 2, false}, {item.bottom - 2, 2, true}, {item.bottom + 30, -1, true}};
  for (const Row& row : rows) {
    bool after = true;
    const float x = 5 * kTwips;
    const float y = static_cast<float>(row.y) * kTwips;
    EXPECT_EQ(list.HitTest(x, y), row.expected) << row.y;
    EXPECT_EQ(list.HitTestInsertMark(x, y, &after), row.expected) << row.y;
    EXPECT_EQ(after, row.after) << row.y;
  }
}

TEST(ListBoxItemsTest, IdealHorizontalExtentGrowsWithTheWidestTextInTheListsFont) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  EXPECT_EQ(list.GetIdealHorizontalExtent(), 0);
  const std::wstring wide = L"\u6BB5\u843D wide wide wide wide";
  const std::wstring wider = wide + wide;
  list.AddItem(wide);
  const float one = list.GetIdealHorizontalExtent();
  list.AddItem(wider);
  const float two = list.GetIdealHorizontalExtent();
  const HDC dc = GetDC(list.ListHandle());
  const HGDIOBJ old = SelectObject(
      dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list.ListHandle(), WM_GETFONT, 0, 0)));
  SIZE narrow_size{}, wide_size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &narrow_size);
  GetTextExtentPoint32W(dc, wider.c_str(), static_cast<int>(wider.size()), &wide_size);
  SelectObject(dc, old);
  ReleaseDC(list.ListHandle(), dc);
  EXPECT_GT(one, static_cast<float>(narrow_size.cx) * 15 / 2);
  EXPECT_FLOAT_EQ(two - one, static_cast<float>(wide_size.cx - narrow_size.cx) * 15);
}

TEST(ListBoxItemsTest, AnchorIndexAndSelectItemRulesAndNoClick) {
  ListBoxHost host([](ListBoxW& list) { list.SetMultiSelect(2); });
  ListBoxW& list = host.List();
  host.Fill({L"Apple", L"banana", L"Blueberry", L"cherry"});
  list.SetAnchorIndex(2);
  EXPECT_EQ(list.AnchorIndex(), 2);
  EXPECT_EQ(ErrorOf([&] { list.SetAnchorIndex(-2); }), 380);
  EXPECT_EQ(ErrorOf([&] { list.SetAnchorIndex(4); }), 380);
  EXPECT_EQ(list.AnchorIndex(), 2);

  ListBoxHost single;
  single.Fill({L"Apple", L"banana", L"Blueberry", L"cherry"});
  ListBoxW& one = single.List();
  single.Events().clear();
  EXPECT_EQ(one.SelectItem(L"BA"), 1);
  EXPECT_EQ(one.ListIndex(), 1);
  EXPECT_EQ(one.SelectItem(L"b", 1), 2) << "the search starts after the index";
  EXPECT_EQ(one.SelectItem(L"zz"), -1);
  EXPECT_EQ(one.ListIndex(), 2) << "no match leaves the selection";
  EXPECT_EQ(ErrorOf([&] { (void)one.SelectItem(L"a", 4); }), 381);
  EXPECT_TRUE(single.Events().empty()) << "SelectItem raises no Click";
}

TEST(ListBoxItemsTest, ACancelledSelectionFromTheListRaisesClick) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  host.Fill({L"a"});
  const HWND native = list.ListHandle();
  const WPARAM cancel = MAKEWPARAM(GetDlgCtrlID(native), LBN_SELCANCEL);
  SendMessageW(list.hWndUserControl(), WM_COMMAND, cancel, reinterpret_cast<LPARAM>(native));
  EXPECT_EVENTS(host, L"Click");
  SendMessageW(list.hWndUserControl(), WM_COMMAND, cancel,
               reinterpret_cast<LPARAM>(list.hWndUserControl()));
  EXPECT_EVENTS(host);
}

TEST(ListBoxItemsTest, ContextMenuFromAnyScreenPositionButTheKeyboardOne) {
  ListBoxHost host;
  ListBoxW& list = host.List();
  const HWND native = list.ListHandle();
  struct Row {
    POINT screen;  // relative to the list's client origin, except the keyboard's (-1, -1)
    bool keyboard;
  };
  const Row rows[] = {{{5, 6}, false}, {{-1, -1}, true}};
  for (const Row& row : rows) {
    POINT screen = row.screen;
    if (!row.keyboard) ClientToScreen(native, &screen);
    SendMessageW(native, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(native),
                 MAKELPARAM(screen.x, screen.y));
  }
  EXPECT_EQ(host.Events().size(), 2u);
  host.Events().clear();
  // A monitor left of or above the primary one has negative screen coordinates.
  for (const POINT screen : {POINT{-300, 40}, POINT{40, -300}, POINT{-300, -300}}) {
    SendMessageW(native, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(native),
                 MAKELPARAM(screen.x, screen.y));
    ASSERT_EQ(host.Events().size(), 1u) << screen.x << "," << screen.y;
    EXPECT_NE(host.Events().front(), L"ContextMenu:-1,-1");
    host.Events().clear();
  }
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
