// Font face selection by enumerating the installed families of the GB2312 character set.
#include "desktop/window_font.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "controls/base/host/font_object.h"

namespace veltrin::window {

namespace {

// Faces that show Chinese well, in order of preference after the preferred one.
constexpr const wchar_t* kFallbackFaces[] = {
    L"Microsoft YaHei", L"WenQuanYi Zen Hei", L"WenQuanYi Micro Hei", L"SimHei",
    L"SimSun",          L"NSimSun",           L"Noto Sans CJK SC"};

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context) {
  auto* faces = reinterpret_cast<std::vector<std::wstring>*>(context);
  if (font->lfFaceName[0] != L'@') faces->emplace_back(font->lfFaceName);  // skip vertical faces
  return 1;
}

std::vector<std::wstring> ChineseFaces() {
  std::vector<std::wstring> faces;
  HDC screen = GetDC(nullptr);
  if (!screen) return faces;
  LOGFONTW query{};
  query.lfCharSet = static_cast<BYTE>(kFontCharset);
  EnumFontFamiliesExW(screen, &query, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(nullptr, screen);
  return faces;
}

}  // namespace

std::wstring ChineseFaceName() {
  const std::vector<std::wstring> faces = ChineseFaces();
  const auto installed = [&faces](const wchar_t* name) {
    return std::find(faces.begin(), faces.end(), name) != faces.end();
  };
  if (installed(kPreferredFace)) return kPreferredFace;
  for (const wchar_t* face : kFallbackFaces) {
    if (installed(face)) return face;
  }
  return faces.empty() ? kPreferredFace : faces.front();
}

controls::FontRef MakeWindowFont() {
  auto font = std::make_shared<controls::FontObject>(ChineseFaceName(), kFontPoints);
  font->SetWeight(kFontWeight);
  font->SetCharset(kFontCharset);
  return font;
}

}  // namespace veltrin::window
