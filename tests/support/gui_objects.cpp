// GDI and USER object counts, and window property names, for the leak tests.
#include "tests/support/gui_objects.h"

namespace veltrin::test {
namespace {

constexpr UINT_PTR kFirstHandleIndex = 0x20;
constexpr UINT_PTR kHandleIndexEnd = 0x10000;

template <typename IsLive>
DWORD CountLiveIndices(IsLive is_live) {
  DWORD count = 0;
  for (UINT_PTR index = kFirstHandleIndex; index < kHandleIndexEnd; ++index) {
    if (is_live(index)) ++count;
  }
  return count;
}

BOOL CALLBACK CollectProperty(HWND, LPWSTR name, HANDLE, ULONG_PTR data) {
  // Atoms arrive as numbers, not strings: no property of interest is one.
  if (IS_INTRESOURCE(name)) return TRUE;
  reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(name);
  return TRUE;
}

}  // namespace

GuiObjectCounts CurrentGuiObjectCounts() {
  GuiObjectCounts counts{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                         GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
  if (counts.gdi != 0 && counts.user != 0) return counts;
  counts.gdi = CountLiveIndices(
      [](UINT_PTR index) { return GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0; });
  counts.user = CountLiveIndices([](UINT_PTR index) {
    return IsWindow(reinterpret_cast<HWND>(index)) || IsMenu(reinterpret_cast<HMENU>(index));
  });
  return counts;
}

std::vector<std::wstring> WindowPropertiesStartingWith(HWND window, const std::wstring& prefix) {
  std::vector<std::wstring> names;
  EnumPropsExW(window, CollectProperty, reinterpret_cast<LPARAM>(&names));
  std::erase_if(names, [&](const std::wstring& name) { return !name.starts_with(prefix); });
  return names;
}

}  // namespace veltrin::test
