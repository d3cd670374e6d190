// Numbers, flags and colours in property bags, as the controls store them: a stored number out of
// its range reads as the default.
#pragma once

#include <windows.h>
#include <olectl.h>

#include <cstdint>

#include "controls/base/host/property_bag.h"

namespace veltrin::controls {

bool ReadBoolean(const PropertyBag& bag, const wchar_t* key, bool default_value);

// A stored number within low..high, or the default for anything else.
int32_t ReadLong(const PropertyBag& bag, const wchar_t* key, int32_t default_value, int32_t low,
                 int32_t high);

// Colours are stored as Longs.
OLE_COLOR ReadColor(const PropertyBag& bag, const wchar_t* key, OLE_COLOR default_value);
void WriteColor(PropertyBag& bag, const wchar_t* key, OLE_COLOR value, OLE_COLOR default_value);

}  // namespace veltrin::controls
