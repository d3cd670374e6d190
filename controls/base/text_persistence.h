// Text stored in property bags as UTF-16LE byte arrays, so that Unicode text survives hosts that
// would narrow a plain string.
#pragma once

#include <string>
#include <string_view>

#include "controls/base/host/property_value.h"

namespace veltrin::controls {

// Returns an empty value for empty text, otherwise a byte array of the text's UTF-16LE code units.
PropertyValue TextToStoredValue(std::wstring_view text);

// Returns empty text for an empty value, otherwise the value's bytes read as UTF-16LE (an odd last
// byte is dropped). Throws RunTimeError 13 for a value that has no byte form (a font, a number).
std::wstring StoredValueToText(const PropertyValue& value);

}  // namespace veltrin::controls
