// Times three lists in one run under Wine: a bare LISTBOX, a bare LISTBOX under an empty common
// controls subclass, and ListBoxW. Each is filled one item at a time, re-created sorted with every
// item (ListBoxW through Sorted, the bare lists by a new window filled the same way) and searched
// for its last item; ListBoxW's AddItems is timed as well. Prints milliseconds, asserts nothing.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/base/host/form.h"
#include "controls/listbox/list_box_w.h"

namespace {

using veltrin::controls::Form;
using veltrin::controls::ListBoxW;

constexpr int kCount = 100000;

double TimeMs(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

std::wstring ItemText(int i) {
  return L"\u6BB5 item " + std::to_wstring(i);
}

LRESULT CALLBACK PassOn(HWND window, UINT message, WPARAM w_param, LPARAM l_param, UINT_PTR,
                        DWORD_PTR) {
  return DefSubclassProc(window, message, w_param, l_param);
}

struct Row {
  const char* name;
  double add = 0;
  double sorted = 0;
  double find = 0;
};

// A bare LISTBOX child of `parent`, optionally under an empty subclass.
HWND CreateBareList(HWND parent, bool subclassed, DWORD extra_style) {
  const HWND list = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"ListBox", L"",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | extra_style, 10, 10,
      200, 160, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (subclassed) SetWindowSubclass(list, PassOn, 1, 0);
  return list;
}

void FillBare(HWND list) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < kCount; ++i) {
    const std::wstring text = ItemText(i);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

Row MeasureBare(const char* name, HWND parent, bool subclassed) {
  Row row{name};
  HWND list = CreateBareList(parent, subclassed, 0);
  row.add = TimeMs([&] { FillBare(list); });
  // What a Sorted toggle does: read every item, make a sorted list, put them back.
  row.sorted = TimeMs([&] {
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    std::vector<std::wstring> items(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      std::wstring& text = items[static_cast<size_t>(i)];
      text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1);
      text.resize(static_cast<size_t>(
          SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    }
    DestroyWindow(list);
    list = CreateBareList(parent, subclassed, LBS_SORT);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_INITSTORAGE, static_cast<WPARAM>(count), 0);
    for (int i = 0; i < count; ++i) {
      SendMessageW(list, LB_INSERTSTRING, i,
                   reinterpret_cast<LPARAM>(items[static_cast<size_t>(i)].c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  });
  const std::wstring last = ItemText(kCount - 1);
  row.find = TimeMs([&] {
    SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(last.c_str()));
  });
  DestroyWindow(list);
  return row;
}

Row MeasureControl(Form& form, const wchar_t* name, bool bulk) {
  Row row{bulk ? "ListBoxW AddItems" : "ListBoxW"};
  auto control = std::make_unique<ListBoxW>();
  ListBoxW& list = *control;
  form.AddControl(std::move(control), name, {10, 10, 210, 170});
  if (bulk) {
    std::vector<std::wstring> items;
    items.reserve(kCount);
    for (int i = 0; i < kCount; ++i) items.push_back(ItemText(i));
    row.add = TimeMs([&] { list.AddItems(items); });
  } else {
    row.add = TimeMs([&] {
      list.SetRedraw(false);
      for (int i = 0; i < kCount; ++i) list.AddItem(ItemText(i));
      list.SetRedraw(true);
    });
  }
  row.sorted = TimeMs([&] { list.SetSorted(true); });
  const std::wstring last = ItemText(kCount - 1);
  row.find = TimeMs([&] { list.FindItem(last); });
  return row;
}

}  // namespace

int main() {
  Form form;
  form.Show();
  const HWND parent = form.hWnd();
  const Row rows[] = {MeasureBare("bare LISTBOX", parent, false),
                      MeasureBare("bare + SetWindowSubclass", parent, true),
                      MeasureControl(form, L"List1", false), MeasureControl(form, L"List2", true)};
  std::printf("%d items               AddItem ms  Sorted ms  FindItem ms\n", kCount);
  for (const Row& row : rows) {
    std::printf("%-26s %10.1f %10.1f %12.2f\n", row.name, row.add, row.sorted, row.find);
  }
  return 0;
}
