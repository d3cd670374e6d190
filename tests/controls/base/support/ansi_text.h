// ANSI text for tests of what controls offer as CF_TEXT: the system's conversion of a UTF-16
// text, and the bytes a data object really holds in that format.
#pragma once

#include <objidl.h>
#include <windows.h>

#include <string>

namespace veltrin::test {

// `text` in the ANSI code page, as the system converts it (unconvertible characters as '?').
inline std::string AnsiOf(const std::wstring& text) {
  std::string ansi(text.size() * 2, '\0');
  ansi.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(),
                          static_cast<int>(ansi.size()), nullptr, nullptr)));
  return ansi;
}

// Every byte of the CF_TEXT memory `data` offers, terminators included; empty when it has none.
inline std::string RawAnsiText(IDataObject* data) {
  FORMATETC format{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&format, &medium))) return {};
  std::string bytes;
  if (medium.tymed == TYMED_HGLOBAL) {
    if (const auto* memory = static_cast<const char*>(GlobalLock(medium.hGlobal))) {
      bytes.assign(memory, GlobalSize(medium.hGlobal));
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  return bytes;
}

}  // namespace veltrin::test
