// Owner drawing checked by pixels: check-box and option glyphs rendered into a bitmap through the
// container's draw request, the insertion mark painted over the list and moved by a scroll, and the
// ItemMeasure and ItemDraw events of owner-draw lists, and Redraw.
#include <algorithm>
#include <cmath>

#include "controls/base/screen_metrics.h"
#include "list_box_fixture.h"

namespace veltrin::controls::list_box_test {
namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 20;

// The pixels of one item drawn by the control into a memory bitmap.
std::vector<COLORREF> RenderItem(ListBoxW& list, int index) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_LISTBOX;
  item.itemID = static_cast<UINT>(index);
  item.itemAction = ODA_DRAWENTIRE;
  item.hwndItem = list.ListHandle();
  item.hDC = dc;
  item.rcItem = {0, 0, kWidth, kHeight};
  SendMessageW(list.hWndUserControl(), WM_DRAWITEM, GetDlgCtrlID(list.ListHandle()),
               reinterpret_cast<LPARAM>(&item));
  std::vector<COLORREF> pixels;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Columns where two renderings differ.
std::vector<int> DifferingColumns(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  std::vector<int> columns;
  for (int x = 0; x < kWidth; ++x) {
    for (int y = 0; y < kHeight; ++y) {
      if (a[y * kWidth + x] != b[y * kWidth + x]) {
        columns.push_back(x);
        break;
      }
    }
  }
  return columns;
}

void ExpectGlyphsDifferOnlyInTheGlyphColumn(int32_t style) {
  PropertyBag stored = StoredProperties({{L"Style", PropertyValue(style)}});
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  host.Fill({L"same", L"same"});
  list.SetItemChecked(0, true);
  const auto checked = RenderItem(list, 0);
  const auto unchecked = RenderItem(list, 1);
  const std::vector<int> columns = DifferingColumns(checked, unchecked);
  ASSERT_FALSE(columns.empty()) << "a checked and an unchecked glyph look alike";
  const int glyph_size = static_cast<int>(std::lround(15 * ScreenPixelsPerInchX() / 96.0));
  EXPECT_GE(columns.front(), 1);
  EXPECT_LT(columns.back(), glyph_size - 1);
}

TEST(ListBoxDrawingTest, CheckBoxGlyphsDifferWhereTheGlyphSits) {
  ExpectGlyphsDifferOnlyInTheGlyphColumn(1);
}

TEST(ListBoxDrawingTest, OptionGlyphsDifferWhereTheGlyphSits) {
  ExpectGlyphsDifferOnlyInTheGlyphColumn(2);
}

TEST(ListBoxDrawingTest, CheckItemsAreAtLeastTheMinimumHeight) {
  PropertyBag stored = StoredProperties({{L"Style", PropertyValue(int32_t{1})}});
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  list.SetFont(std::make_shared<FontObject>(L"Arial", 4));
  host.Fill({L"a"});
  EXPECT_GE(SendMessageW(list.ListHandle(), LB_GETITEMHEIGHT, 0, 0), 15);
}

// Counts the pixels of `color` in one row of the list's client area, as shown on screen.
int CountInRow(const ListBoxW& list, int y, COLORREF color) {
  const HDC dc = GetDC(list.ListHandle());
  const RECT client = list.Child().GetClientRect();
  int count = 0;
  for (int x = client.left; x < client.right; ++x) count += GetPixel(dc, x, y) == color ? 1 : 0;
  ReleaseDC(list.ListHandle(), dc);
  return count;
}

TEST(ListBoxDrawingTest, InsertionMarkIsPaintedAndMovesWithAScroll) {
  constexpr COLORREF kRed = RGB(255, 0, 0);
  ListBoxHost host;
  ListBoxW& list = host.List();
  for (int i = 0; i < 30; ++i) list.AddItem(L"item " + std::to_wstring(i));
  list.SetInsertMarkColor(kRed);
  list.SetInsertMark(3, true);
  bool after = false;
  EXPECT_EQ(list.InsertMark(&after), 3);
  EXPECT_TRUE(after);
  RedrawWindow(list.ListHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT item{};
  SendMessageW(list.ListHandle(), LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  const int width = item.right - item.left;
  EXPECT_GE(CountInRow(list, item.bottom - 1, kRed), width - 4);
  EXPECT_EQ(ErrorOf([&] { list.SetInsertMark(30); }), 381);

  host.Events().clear();
  list.SetTopIndex(2);
  UpdateWindow(list.ListHandle());
  EXPECT_EVENTS(host, L"Scroll");
  SendMessageW(list.ListHandle(), LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  EXPECT_GE(CountInRow(list, item.bottom - 1, kRed), width - 4);
  const int old_row = item.bottom - 1 + 2 * (item.bottom - item.top);
  EXPECT_LT(CountInRow(list, old_row, kRed), 3) << "the mark is left behind at its old place";
}

// Measures item i as 12 + 4 i pixels high and paints each item it is asked for in its own colour.
class OwnerDrawRecorder : public EventRecorder {
 public:
  static COLORREF ColorOf(int32_t item) { return RGB(200, 40 * item, 0); }
  void ItemMeasure(int32_t item, int32_t& item_height) override {
    log.push_back(L"ItemMeasure:" + std::to_wstring(item));
    item_height = 12 + 4 * item;
  }
  void ItemDraw(int32_t item, int32_t action, int32_t state, HDC dc, int32_t left, int32_t top,
                int32_t right, int32_t bottom) override {
    drawn.push_back({item, action, state, RECT{left, top, right, bottom}});
    const RECT rect{left, top, right, bottom};
    const HBRUSH brush = CreateSolidBrush(ColorOf(item));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
  struct Drawn {
    int32_t item, action, state;
    RECT rect;
  };
  std::vector<Drawn> drawn;
};

TEST(ListBoxDrawingTest, OwnerDrawListsMeasureOnlyWhenVariableAndDrawWhatTheHandlerPaints) {
  for (const int32_t draw_mode : {1, 2}) {
    SCOPED_TRACE("DrawMode " + std::to_string(draw_mode));
    PropertyBag stored = StoredProperties({{L"DrawMode", PropertyValue(draw_mode)}});
    ListBoxHost host(nullptr, &stored);
    ListBoxW& list = host.List();
    OwnerDrawRecorder events;
    list.Events().Connect(&events);
    host.Fill({L"a", L"b", L"c"});
    const HWND native = list.ListHandle();
    if (draw_mode == 2) {
      EXPECT_EQ(events.log, (Log{L"ItemMeasure:0", L"ItemMeasure:1", L"ItemMeasure:2"}));
      for (int i = 0; i < 3; ++i)
        EXPECT_EQ(SendMessageW(native, LB_GETITEMHEIGHT, i, 0), 12 + 4 * i);
    } else {
      EXPECT_TRUE(events.log.empty());
    }
    list.SetListIndex(1);
    events.drawn.clear();
    RedrawWindow(native, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_EQ(events.drawn.size(), 3u);
    const HDC dc = GetDC(native);
    for (int i = 0; i < 3; ++i) {
      const OwnerDrawRecorder::Drawn& drawn = events.drawn[static_cast<size_t>(i)];
      RECT rect{};
      SendMessageW(native, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
      EXPECT_EQ(drawn.item, i);
      EXPECT_EQ(drawn.action, ODA_DRAWENTIRE);
      EXPECT_EQ((drawn.state & ODS_SELECTED) != 0, i == 1);
      EXPECT_TRUE(EqualRect(&drawn.rect, &rect)) << drawn.rect.top << " " << drawn.rect.bottom;
      EXPECT_EQ(GetPixel(dc, rect.left + 3, rect.top + 2), OwnerDrawRecorder::ColorOf(i));
    }
    ReleaseDC(native, dc);
  }
}

TEST(ListBoxDrawingTest, WithRedrawOffNothingIsPaintedUntilItIsOnAgain) {
  PropertyBag stored = StoredProperties({{L"DrawMode", PropertyValue(int32_t{1})}});
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  OwnerDrawRecorder events;
  list.Events().Connect(&events);
  host.Fill({L"a"});
  UpdateWindow(list.ListHandle());
  events.drawn.clear();
  list.SetRedraw(false);
  host.Fill({L"b", L"c"});
  list.SetListIndex(2);
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(list.ListHandle(), &pending, FALSE));
  EXPECT_TRUE(events.drawn.empty());
  list.SetRedraw(true);
  std::vector<int32_t> drawn;
  for (const auto& item : events.drawn) drawn.push_back(item.item);
  for (const int32_t item : {0, 1, 2}) EXPECT_NE(std::ranges::count(drawn, item), 0) << item;
}

TEST(ListBoxDrawingTest, ADrawRequestForAMissingCheckItemIsSkipped) {
  PropertyBag stored = StoredProperties({{L"Style", PropertyValue(int32_t{1})}});
  ListBoxHost host(nullptr, &stored);
  ListBoxW& list = host.List();
  host.Fill({L"a"});
  const std::vector<COLORREF> untouched = RenderItem(list, 99);  // the list has no item 99
  EXPECT_EQ(list.ListCount(), 1);
  EXPECT_NE(RenderItem(list, 0), untouched);
}

}  // namespace
}  // namespace veltrin::controls::list_box_test
