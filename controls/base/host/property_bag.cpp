// Storing and reading named property values; fonts are copied on the way in and out.
#include "controls/base/host/property_bag.h"

#include "controls/base/host/font_object.h"

namespace veltrin::controls {
namespace {

PropertyValue Detached(const PropertyValue& value) {
  if (value.Type() == ValueType::kFont) {
    if (const FontRef font = value.ToFont()) return PropertyValue(font->Clone());
  }
  return value;
}

}  // namespace

PropertyValue PropertyBag::ReadProperty(std::wstring_view name,
                                        const PropertyValue& default_value) const {
  const auto found = values_.find(name);
  return found == values_.end() ? default_value : Detached(found->second);
}

void PropertyBag::WriteProperty(std::wstring_view name, const PropertyValue& value,
                                const PropertyValue& default_value) {
  const auto found = values_.find(name);
  if (value == default_value) {
    if (found != values_.end()) values_.erase(found);
    return;
  }
  if (found != values_.end()) {
    found->second = Detached(value);
  } else {
    values_.emplace(std::wstring(name), Detached(value));
  }
}

}  // namespace veltrin::controls
