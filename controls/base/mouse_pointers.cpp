// The MousePointer tables.
#include "controls/base/mouse_pointers.h"

#include <array>
#include <string_view>

namespace veltrin::controls {
namespace {

struct NamedPointer {
  int value;
  std::wstring_view name;
};

constexpr std::array<NamedPointer, 18> kNames = {{
    {0, L"0 - Default"},
    {1, L"1 - Arrow"},
    {2, L"2 - Cross"},
    {3, L"3 - I-Beam"},
    {4, L"4 - Hand"},
    {5, L"5 - Size"},
    {6, L"6 - Size NE SW"},
    {7, L"7 - Size N S"},
    {8, L"8 - Size NW SE"},
    {9, L"9 - Size W E"},
    {10, L"10 - Up Arrow"},
    {11, L"11 - Hourglass"},
    {12, L"12 - No Drop"},
    {13, L"13 - Arrow and Hourglass"},
    {14, L"14 - Arrow and Question"},
    {15, L"15 - Size All"},
    {16, L"16 - Arrow and CD"},
    {99, L"99 - Custom"},
}};

}  // namespace

int MousePointerCursorId(int mouse_pointer) noexcept {
  switch (mouse_pointer) {
    case 1:
      return 32512;  // arrow
    case 2:
      return 32515;  // cross
    case 3:
      return 32513;  // I-beam
    case 4:
      return 32649;  // hand
    case 5:
    case 15:
      return 32646;  // size all
    case 6:
      return 32643;  // size NE-SW
    case 7:
      return 32645;  // size N-S
    case 8:
      return 32642;  // size NW-SE
    case 9:
      return 32644;  // size W-E
    case 10:
      return 32516;  // up arrow
    case 11:
      return 32514;  // wait
    case 12:
      return 32648;  // no
    case 13:
      return 32650;  // app starting
    case 14:
      return 32651;  // help
    case 16:
      return 32663;  // arrow and CD
    default:
      return 0;
  }
}

HCURSOR LoadMousePointerCursor(int mouse_pointer) noexcept {
  const int id = MousePointerCursorId(mouse_pointer);
  return id ? LoadCursorW(nullptr, MAKEINTRESOURCEW(id)) : nullptr;
}

bool MousePointerName(int mouse_pointer, std::wstring& name) {
  for (const NamedPointer& entry : kNames) {
    if (entry.value == mouse_pointer) {
      name.assign(entry.name);
      return true;
    }
  }
  return false;
}

void MousePointerList(std::vector<std::wstring>& names, std::vector<int32_t>& cookies) {
  names.assign(kNames.size() + 1, std::wstring());
  cookies.assign(kNames.size() + 1, 0);
  for (size_t i = 0; i < kNames.size(); ++i) {
    names[i].assign(kNames[i].name);
    cookies[i] = kNames[i].value;
  }
}

}  // namespace veltrin::controls
