// The values that property bags, ambient properties and data objects carry: a small Variant of the
// automation types (empty, Boolean, Integer, Long, Single, Double, String, byte array, font,
// picture, Byte).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace veltrin::controls {

class FontObject;
class PictureObject;

using FontRef = std::shared_ptr<FontObject>;        // null is the automation "Nothing"
using PictureRef = std::shared_ptr<PictureObject>;  // null is the automation "Nothing"
using ByteArray = std::vector<uint8_t>;

// The kind of value a PropertyValue holds, in the order of the variant's alternatives.
enum class ValueType {
  kEmpty,
  kBoolean,
  kInteger,
  kLong,
  kSingle,
  kDouble,
  kString,
  kByteArray,
  kFont,
  kPicture,
  kByte
};

class PropertyValue {
 public:
  using Storage = std::variant<std::monostate, bool, int16_t, int32_t, float, double, std::wstring,
                               ByteArray, FontRef, PictureRef, uint8_t>;

  PropertyValue() noexcept = default;
  PropertyValue(bool value) : storage_(value) {}
  PropertyValue(int16_t value) : storage_(value) {}
  PropertyValue(int32_t value) : storage_(value) {}
  PropertyValue(float value) : storage_(value) {}
  PropertyValue(double value) : storage_(value) {}
  PropertyValue(std::wstring value) : storage_(std::move(value)) {}
  PropertyValue(const wchar_t* value) : storage_(std::wstring(value)) {}
  PropertyValue(ByteArray value) : storage_(std::move(value)) {}
  PropertyValue(FontRef value) : storage_(std::move(value)) {}
  PropertyValue(PictureRef value) : storage_(std::move(value)) {}
  PropertyValue(uint8_t value) : storage_(value) {}
  // Other types (long, unsigned, char*...) would pick an alternative by accident: name one instead.
  template <typename T>
  PropertyValue(T) = delete;

  ValueType Type() const noexcept { return static_cast<ValueType>(storage_.index()); }
  bool IsEmpty() const noexcept { return storage_.index() == 0; }
  const Storage& Raw() const noexcept { return storage_; }

  // Conversions as the automation runtime does them: numbers convert among themselves (True is -1),
  // numeric strings convert to numbers. A value that cannot convert raises RunTimeError 13; a
  // number out of the target's range raises 6.
  bool ToBoolean() const;
  int16_t ToInteger() const;
  int32_t ToLong() const;
  float ToSingle() const;
  double ToDouble() const;
  // Numbers format in the invariant way, Booleans as "True"/"False"; empty is ""; others raise 13.
  std::wstring ToString() const;
  // A byte array as it is; a string as its UTF-16LE code units; empty as no bytes; others raise 13.
  ByteArray ToBytes() const;
  // The font or picture held, or null for an empty value; others raise 13.
  FontRef ToFont() const;
  PictureRef ToPicture() const;

  // Equal when both are empty, both numbers of equal value, equal strings, equal byte arrays, fonts
  // with equal attributes (or both Nothing), or the same picture object.
  friend bool operator==(const PropertyValue& a, const PropertyValue& b);

 private:
  Storage storage_;  // the value; index 0 (monostate) is Empty
};

}  // namespace veltrin::controls
