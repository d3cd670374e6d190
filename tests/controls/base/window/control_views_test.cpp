// The typed views where a message's answer needs more than a cast: selection ends and character
// positions past 65,535, the two 16-bit words of EM_CHARFROMPOS and EM_GETMARGINS, and failing
// LB_ messages read as nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/base/host/window_handles.h"
#include "controls/base/window/edit_view.h"
#include "controls/base/window/list_box_view.h"
#include "base/support/test_window.h"

namespace veltrin::controls {
namespace {

// 70,000 units on the first line (past 16 bits), "xy" on the second.
constexpr int kLongLine = 70000;
constexpr DWORD kSecondLine = kLongLine + 2;  // the "x"

UniqueWindow CreateChild(HWND parent, const wchar_t* window_class, DWORD style) {
  return UniqueWindow(CreateWindowExW(0, window_class, L"", WS_CHILD | WS_VISIBLE | style, 0, 0,
                                      300, 200, parent, nullptr, GetModuleHandleW(nullptr),
                                      nullptr));
}

TEST(EditView, ReadsWhatTheMessagesMean) {
  testing::TestWindow parent;
  const UniqueWindow window =
      CreateChild(parent.Handle(), L"Edit", ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL);
  ASSERT_TRUE(window);
  const EditView edit(window.Get());
  edit.LimitText(0x7FFFFFFE);
  ASSERT_TRUE(edit.SetText(std::wstring(kLongLine, L'a') + L"\r\nxy"));
  edit.SetSel(65537, kLongLine);
  edit.SetMargin(true, 7);
  edit.SetMargin(false, 11);

  const auto position = [&](DWORD index) {
    const std::optional<POINT> point = edit.PosFromChar(index);
    return point ? edit.CharFromPos(*point) : EditView::CharPosition{0xDEAD, 0xDEAD};
  };
  struct Row {
    const char* name;
    std::function<long long()> actual;
    long long expected;
  };
  const std::vector<Row> rows = {
      {"selection start past 16 bits", [&] { return edit.GetSel().start; }, 65537},
      {"selection end past 16 bits", [&] { return edit.GetSel().end; }, kLongLine},
      {"char from pos: low word of the index", [&] { return position(kSecondLine + 1).index_low; },
       (kSecondLine + 1) & 0xFFFF},
      {"char from pos: high word is the line", [&] { return position(kSecondLine + 1).line_low; },
       1},
      {"no position one past the end",
       [&] { return edit.PosFromChar(kSecondLine + 2).has_value() ? 1 : 0; }, 0},
      {"line index past 16 bits", [&] { return edit.LineIndex(1); }, kSecondLine},
      {"a missing line has no index", [&] { return edit.LineIndex(2); }, -1},
      {"line text is capped at what EM_GETLINE copies",
       [&] { return static_cast<long long>(edit.Line(0).size()); }, 0xFFFF},
      {"line text of a short line", [&] { return edit.Line(1) == L"xy" ? 1 : 0; }, 1},
      {"left margin is the low word", [&] { return edit.LeftMargin(); }, 7},
      {"right margin is the high word", [&] { return edit.RightMargin(); }, 11},
  };
  for (const Row& row : rows) EXPECT_EQ(row.actual(), row.expected) << row.name;
}

TEST(ListBoxView, ReadsFailuresAsNothing) {
  testing::TestWindow parent;
  const UniqueWindow single_window = CreateChild(parent.Handle(), L"ListBox", WS_VSCROLL);
  const UniqueWindow multi_window =
      CreateChild(parent.Handle(), L"ListBox", WS_VSCROLL | LBS_EXTENDEDSEL);
  ASSERT_TRUE(single_window && multi_window);
  const ListBoxView single = ListBoxView::Direct(single_window.Get());
  const ListBoxView multi(multi_window.Get());
  for (const ListBoxView& list : {single, multi}) {
    ASSERT_EQ(list.AddString(L"one"), 0);
    ASSERT_EQ(list.AddString(L"two"), 1);
  }
  multi.SetSel(1, true);
  const RECT client = single.GetClientRect();

  struct Row {
    const char* name;
    std::function<long long()> actual;
    long long expected;
  };
  const std::vector<Row> rows = {
      {"text of an item", [&] { return single.Text(1) == L"two" ? 1 : 0; }, 1},
      {"no text past the end", [&] { return single.Text(2).has_value() ? 1 : 0; }, 0},
      {"no text before the start", [&] { return single.Text(-1).has_value() ? 1 : 0; }, 0},
      {"no rectangle past the end", [&] { return single.ItemRect(2).has_value() ? 1 : 0; }, 0},
      {"rectangle of an item",
       [&] { return single.ItemRect(1).value_or(RECT{}).top == single.ItemHeight(0) ? 1 : 0; }, 1},
      {"no selected items in a single-selection list",
       [&] { return single.SelItems().has_value() ? 1 : 0; }, 0},
      {"selected items of a multiple-selection list",
       [&] { return multi.SelItems() == std::vector<int>{1} ? 1 : 0; }, 1},
      {"clearing the selection succeeds", [&] { return single.SetCurSel(-1) ? 1 : 0; }, 1},
      {"selecting past the end fails", [&] { return single.SetCurSel(2) ? 1 : 0; }, 0},
      {"a point below the items is outside",
       [&] {
         bool outside = false;
         single.ItemFromPoint(POINT{1, client.bottom - 1}, &outside);
         return outside ? 1 : 0;
       },
       1},
      {"a point on an item is that item",
       [&] {
         return single.ItemFromPoint(POINT{1, single.ItemHeight(0) + 1});
       },
       1},
      {"no window: no items", [&] { return ListBoxView().Count(); }, 0},
      {"no window: no current item", [&] { return ListBoxView().CurSel(); }, -1},
      {"no window: no column", [&] { return ListBoxView().ItemsPerColumn(); }, 0},
  };
  for (const Row& row : rows) EXPECT_EQ(row.actual(), row.expected) << row.name;
}

}  // namespace
}  // namespace veltrin::controls
