// The property bag that carries a control's persisted properties between WriteProperties and
// ReadProperties: named values with defaults.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "controls/base/host/property_value.h"

namespace veltrin::controls {

class PropertyBag {
 public:
  // Returns the value stored under `name`, or `default_value` when there is none. A stored font is
  // returned as a fresh copy, so a reader never shares a font with the bag.
  PropertyValue ReadProperty(std::wstring_view name, const PropertyValue& default_value = {}) const;
  // Stores `value` under `name`; a value equal to `default_value` is not stored (any older value
  // under the name is dropped, so reading gives the default back). Fonts are stored as copies.
  void WriteProperty(std::wstring_view name, const PropertyValue& value,
                     const PropertyValue& default_value = {});

  bool Contains(std::wstring_view name) const { return values_.find(name) != values_.end(); }
  size_t Count() const noexcept { return values_.size(); }
  void Clear() noexcept { values_.clear(); }

 private:
  std::map<std::wstring, PropertyValue, std::less<>> values_;  // names match code unit by unit
};

}  // namespace veltrin::controls
