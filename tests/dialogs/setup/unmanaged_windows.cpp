// Tells Wine's X11 driver not to hand the windows of the named programs to a window manager.
// The virtual display of the test runs has none, so every managed window that hides waits two
// seconds for a withdrawal that never comes; dialog suites open and close hundreds of windows.
// Writes nothing outside Wine.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) return 0;
  for (int i = 1; i < argc; ++i) {
    const std::wstring path =
        std::wstring(L"Software\\Wine\\AppDefaults\\") + argv[i] + L"\\X11 Driver";
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
      return 1;
    }
    const wchar_t kNo[] = L"N";
    const LONG status =
        RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNo), sizeof(kNo));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return 1;
  }
  return 0;
}
