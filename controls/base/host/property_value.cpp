// Conversions and comparison of property values, following the automation runtime's coercions.
#include "controls/base/host/property_value.h"

#include <cmath>
#include <cwchar>
#include <limits>

#include "common/run_time_error.h"
#include "common/utf16.h"
#include "controls/base/host/font_object.h"

namespace veltrin::controls {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

// Parses a whole string as a number; raises 13 when it is not one.
double ParseNumber(const std::wstring& text) {
  if (text == L"True") return -1;
  if (text == L"False") return 0;
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  const double value = std::wcstod(begin, &end);
  while (end && *end == L' ') ++end;
  if (end == begin || !end || *end != L'\0') throw RunTimeError(kTypeMismatch);
  return value;
}

// The numeric view of a value: Empty is 0, Boolean True is -1, strings are parsed.
double NumericOf(const PropertyValue::Storage& storage) {
  return std::visit(
      Overloaded{[](std::monostate) { return 0.0; }, [](bool b) { return b ? -1.0 : 0.0; },
                 [](int16_t v) { return static_cast<double>(v); },
                 [](int32_t v) { return static_cast<double>(v); },
                 [](uint8_t v) { return static_cast<double>(v); },
                 [](float v) { return static_cast<double>(v); }, [](double v) { return v; },
                 [](const std::wstring& s) { return ParseNumber(s); },
                 [](const auto&) -> double { throw RunTimeError(kTypeMismatch); }},
      storage);
}

bool IsNumeric(const PropertyValue::Storage& storage) {
  const auto type = static_cast<ValueType>(storage.index());
  return (type >= ValueType::kBoolean && type <= ValueType::kDouble) || type == ValueType::kByte;
}

// Rounds half to even, as the runtime does when it stores a number into an integer type.
template <typename T>
T RoundToInteger(double value) {
  const double rounded = std::nearbyint(value);
  if (std::isnan(rounded) || rounded < std::numeric_limits<T>::min() ||
      rounded > std::numeric_limits<T>::max()) {
    throw RunTimeError(kOverflow);
  }
  return static_cast<T>(rounded);
}

std::wstring FormatNumber(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    return std::to_wstring(static_cast<long long>(value));
  }
  wchar_t buffer[64];
  std::swprintf(buffer, 64, L"%.15g", value);
  return buffer;
}

}  // namespace

bool PropertyValue::ToBoolean() const {
  return NumericOf(storage_) != 0;
}

int16_t PropertyValue::ToInteger() const {
  return RoundToInteger<int16_t>(NumericOf(storage_));
}

int32_t PropertyValue::ToLong() const {
  return RoundToInteger<int32_t>(NumericOf(storage_));
}

float PropertyValue::ToSingle() const {
  const double value = NumericOf(storage_);
  if (std::fabs(value) > std::numeric_limits<float>::max()) throw RunTimeError(kOverflow);
  return static_cast<float>(value);
}

double PropertyValue::ToDouble() const {
  return NumericOf(storage_);
}

std::wstring PropertyValue::ToString() const {
  return std::visit(
      Overloaded{[](std::monostate) { return std::wstring(); },
                 [](bool b) { return std::wstring(b ? L"True" : L"False"); },
                 [](int16_t v) { return std::to_wstring(v); },
                 [](int32_t v) { return std::to_wstring(v); },
                 [](uint8_t v) { return std::to_wstring(v); },
                 [](float v) { return FormatNumber(v); }, [](double v) { return FormatNumber(v); },
                 [](const std::wstring& s) { return s; },
                 [](const auto&) -> std::wstring { throw RunTimeError(kTypeMismatch); }},
      storage_);
}

ByteArray PropertyValue::ToBytes() const {
  if (const auto* bytes = std::get_if<ByteArray>(&storage_)) return *bytes;
  if (IsEmpty()) return {};
  if (const auto* text = std::get_if<std::wstring>(&storage_)) return ToUtf16LeBytes(AsU16(*text));
  throw RunTimeError(kTypeMismatch);
}

FontRef PropertyValue::ToFont() const {
  if (IsEmpty()) return nullptr;
  if (const auto* font = std::get_if<FontRef>(&storage_)) return *font;
  throw RunTimeError(kTypeMismatch);
}

PictureRef PropertyValue::ToPicture() const {
  if (IsEmpty()) return nullptr;
  if (const auto* picture = std::get_if<PictureRef>(&storage_)) return *picture;
  throw RunTimeError(kTypeMismatch);
}

bool operator==(const PropertyValue& a, const PropertyValue& b) {
  if (IsNumeric(a.storage_) && IsNumeric(b.storage_)) {
    return NumericOf(a.storage_) == NumericOf(b.storage_);
  }
  if (a.storage_.index() != b.storage_.index()) return false;
  if (const auto* font = std::get_if<FontRef>(&a.storage_)) {
    return FontsEqual(font->get(), std::get<FontRef>(b.storage_).get());
  }
  return a.storage_ == b.storage_;
}

}  // namespace veltrin::controls
