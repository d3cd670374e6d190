// The overflow-checked conversions; the rest of the word helpers are constexpr in the header.
#include "controls/base/words_numbers.h"

#include "common/run_time_error.h"

namespace veltrin::controls {

int16_t UnsignedToInteger(int32_t value) {
  if (value < 0 || value > 0xFFFF) throw RunTimeError(kOverflow);
  return static_cast<int16_t>(static_cast<uint16_t>(value));
}

LONG_PTR PointerAdd(LONG_PTR address, LONG_PTR offset) {
  LONG_PTR sum = 0;
  if (__builtin_add_overflow(address, offset, &sum)) throw RunTimeError(kOverflow);
  return sum;
}

}  // namespace veltrin::controls
