// Numbers, flags and colours in property bags.
#include "controls/base/stored_values.h"

namespace veltrin::controls {

bool ReadBoolean(const PropertyBag& bag, const wchar_t* key, bool default_value) {
  return bag.ReadProperty(key, PropertyValue(default_value)).ToBoolean();
}

int32_t ReadLong(const PropertyBag& bag, const wchar_t* key, int32_t default_value, int32_t low,
                 int32_t high) {
  const int32_t value = bag.ReadProperty(key, PropertyValue(default_value)).ToLong();
  return value < low || value > high ? default_value : value;
}

OLE_COLOR ReadColor(const PropertyBag& bag, const wchar_t* key, OLE_COLOR default_value) {
  return static_cast<OLE_COLOR>(
      bag.ReadProperty(key, PropertyValue(static_cast<int32_t>(default_value))).ToLong());
}

void WriteColor(PropertyBag& bag, const wchar_t* key, OLE_COLOR value, OLE_COLOR default_value) {
  bag.WriteProperty(key, PropertyValue(static_cast<int32_t>(value)),
                    PropertyValue(static_cast<int32_t>(default_value)));
}

}  // namespace veltrin::controls
