// Times filling a ListBoxW under Wine (redraw off while it fills) and FindItem over the items, at
// two sizes so that the growth can be judged; prints milliseconds, asserts nothing.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "controls/base/host/form.h"
#include "controls/listbox/list_box_w.h"

namespace {

using veltrin::controls::Form;
using veltrin::controls::ListBoxW;

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
      .count();
}

void Measure(int count) {
  Form form;
  auto control = std::make_unique<ListBoxW>();
  ListBoxW& list = *control;
  form.AddControl(std::move(control), L"List1", {10, 10, 210, 170});
  list.SetRedraw(false);
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) list.AddItem(L"\u6BB5 item " + std::to_wstring(i));
  list.SetRedraw(true);
  const double fill = Milliseconds(start);
  start = std::chrono::steady_clock::now();
  const int32_t found = list.FindItem(L"\u6BB5 item " + std::to_wstring(count - 1));
  const double find = Milliseconds(start);
  std::printf(
      "%7d items: AddItem %.0f ms (%.2f us/item), FindItem of the last %.1f ms (found %d)\n", count,
      fill, fill * 1000 / count, find, found);
}

}  // namespace

int main() {
  Measure(10000);
  Measure(100000);
  return 0;
}
