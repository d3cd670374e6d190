// The reporter of errors that have no caller: a fixed buffer, so that reporting cannot fail.
#include "controls/base/error_report.h"

#include <windows.h>

#include <charconv>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>

#include "common/run_time_error.h"

namespace veltrin::controls {
namespace {

ErrorObserver observer = nullptr;

// Appends `text` to the buffer, cut to what fits (the final NUL always fits).
template <typename Char>
void Append(wchar_t* buffer, size_t capacity, size_t& length,
            std::basic_string_view<Char> text) noexcept {
  for (const Char c : text) {
    if (length + 1 >= capacity) break;
    buffer[length++] = static_cast<wchar_t>(static_cast<std::make_unsigned_t<Char>>(c));
  }
  buffer[length] = L'\0';
}

}  // namespace

void ReportCaughtError(std::wstring_view where) noexcept {
  int32_t number = 0;
  constexpr size_t kCapacity = 512;
  wchar_t text[kCapacity] = {};
  size_t length = 0;
  try {
    throw;
  } catch (const RunTimeError& error) {
    number = error.Number();
    Append(text, kCapacity, length, std::u16string_view(error.Description()));
  } catch (const std::exception& error) {
    Append(text, kCapacity, length, std::string_view(error.what()));
  } catch (...) {
    Append(text, kCapacity, length, std::wstring_view(L"unknown error"));
  }
  char digits[16] = {};
  const auto converted = std::to_chars(digits, digits + sizeof(digits) - 1, number);
  constexpr size_t kLineCapacity = kCapacity + 128;
  wchar_t line[kLineCapacity] = {};
  size_t line_length = 0;
  Append(line, kLineCapacity, line_length, std::wstring_view(L"Veltrin: error "));
  Append(line, kLineCapacity, line_length, std::string_view(digits, converted.ptr));
  Append(line, kLineCapacity, line_length, std::wstring_view(L" in "));
  Append(line, kLineCapacity, line_length, where);
  Append(line, kLineCapacity, line_length, std::wstring_view(L": "));
  Append(line, kLineCapacity, line_length, std::wstring_view(text, length));
  Append(line, kLineCapacity, line_length, std::wstring_view(L"\n"));
  OutputDebugStringW(line);
  if (observer) observer(number, std::wstring_view(text, length));
}

ErrorObserver SetErrorObserver(ErrorObserver replacement) noexcept {
  return std::exchange(observer, replacement);
}

}  // namespace veltrin::controls
