// MousePointer values: system cursors, display names and the property-browsing list.
#include <gtest/gtest.h>

#include "controls/base/mouse_pointers.h"

namespace veltrin::controls {
namespace {

TEST(MousePointers, CursorIdentifiers) {
  const struct {
    int value;
    int cursor;
  } rows[] = {{0, 0},      {1, 32512},  {2, 32515},  {3, 32513},  {4, 32649},
              {5, 32646},  {6, 32643},  {7, 32645},  {8, 32642},  {9, 32644},
              {10, 32516}, {11, 32514}, {12, 32648}, {13, 32650}, {14, 32651},
              {15, 32646}, {16, 32663}, {17, 0},     {99, 0},     {-1, 0}};
  for (const auto& row : rows) {
    EXPECT_EQ(MousePointerCursorId(row.value), row.cursor) << "value " << row.value;
  }
  EXPECT_EQ(LoadMousePointerCursor(0), nullptr);
  EXPECT_EQ(LoadMousePointerCursor(3), LoadCursorW(nullptr, IDC_IBEAM));
}

TEST(MousePointers, NamesLeaveUnknownValuesAlone) {
  std::wstring name = L"unchanged";
  EXPECT_FALSE(MousePointerName(17, name));
  EXPECT_FALSE(MousePointerName(98, name));
  EXPECT_EQ(name, L"unchanged");
  EXPECT_TRUE(MousePointerName(99, name));
  EXPECT_EQ(name, L"99 - Custom");
  EXPECT_TRUE(MousePointerName(13, name));
  EXPECT_EQ(name, L"13 - Arrow and Hourglass");
}

TEST(MousePointers, ListHasEighteenEntriesAndAnEmptyLastSlot) {
  std::vector<std::wstring> names{L"stale"};
  std::vector<int32_t> cookies{42};
  MousePointerList(names, cookies);
  ASSERT_EQ(names.size(), 19u);
  ASSERT_EQ(cookies.size(), 19u);
  EXPECT_EQ(names.size() - 1, 18u) << "consumers count by the upper bound";
  for (int i = 0; i < 17; ++i) EXPECT_EQ(cookies[i], i);
  EXPECT_EQ(cookies[17], 99);
  EXPECT_EQ(names[0], L"0 - Default");
  EXPECT_EQ(names[17], L"99 - Custom");
  EXPECT_TRUE(names[18].empty());
  for (int i = 0; i < 18; ++i) {
    std::wstring name;
    ASSERT_TRUE(MousePointerName(cookies[i], name));
    EXPECT_EQ(name, names[i]);
  }
}

}  // namespace
}  // namespace veltrin::controls
