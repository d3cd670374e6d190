// MousePointer values: system cursors, display names and the property-browsing list.
#include <windows.h>

#include <gtest/gtest.h>

#include "controls/base/mouse_pointers.h"

namespace veltrin::controls {
namespace {

// Each value against the system's own name for its cursor, and the cursor the system loads for it.
TEST(MousePointers, SystemCursors) {
  const struct {
    int value;
    const wchar_t* cursor;  // an IDC_* resource name
  } rows[] = {
      {1, IDC_ARROW},    {2, IDC_CROSS},  {3, IDC_IBEAM},        {4, IDC_HAND},   {5, IDC_SIZEALL},
      {6, IDC_SIZENESW}, {7, IDC_SIZENS}, {8, IDC_SIZENWSE},     {9, IDC_SIZEWE}, {10, IDC_UPARROW},
      {11, IDC_WAIT},    {12, IDC_NO},    {13, IDC_APPSTARTING}, {14, IDC_HELP},  {15, IDC_SIZEALL},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(static_cast<ULONG_PTR>(MousePointerCursorId(row.value)),
              reinterpret_cast<ULONG_PTR>(row.cursor))
        << row.value;
    EXPECT_EQ(LoadMousePointerCursor(row.value), LoadCursorW(nullptr, row.cursor)) << row.value;
  }
  EXPECT_NE(MousePointerCursorId(16), 0) << "arrow and CD has a system cursor of its own";
  for (const int none : {0, 17, 98, 99, -1}) {
    EXPECT_EQ(MousePointerCursorId(none), 0) << none;
    EXPECT_EQ(LoadMousePointerCursor(none), nullptr) << none;
  }
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
