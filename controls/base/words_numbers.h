// Packing and unpacking of 16-bit words and bytes in message parameters, and the overflow-checked
// conversions between unsigned 16-bit values, signed Integers and addresses.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/base/com_ptr.h"

namespace veltrin::controls {

// Returns bits 0-15 of `value` as a signed 16-bit value.
constexpr int16_t LoWordSigned(LONG_PTR value) noexcept {
  return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
}

// Returns bits 16-31 of `value` as a signed 16-bit value.
constexpr int16_t HiWordSigned(LONG_PTR value) noexcept {
  return static_cast<int16_t>(static_cast<uint16_t>((value >> 16) & 0xFFFF));
}

// Returns high * 65536 + (low & 0xFFFF): the words packed into one 32-bit Long.
constexpr int32_t MakeLong(int16_t low, int16_t high) noexcept {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16 |
                              static_cast<uint16_t>(low));
}

// Returns the x coordinate of a mouse message's lParam (bits 0-15, sign-extended).
constexpr int32_t XFromLParam(LPARAM l_param) noexcept {
  return LoWordSigned(l_param);
}

// Returns the y coordinate of a mouse message's lParam (bits 16-31, sign-extended).
constexpr int32_t YFromLParam(LPARAM l_param) noexcept {
  return HiWordSigned(l_param);
}

// Returns bits 0-7 of `value`.
constexpr uint8_t LoByteOf(LONG_PTR value) noexcept {
  return static_cast<uint8_t>(value & 0xFF);
}

// Returns bits 8-15 of `value`.
constexpr uint8_t HiByteOf(LONG_PTR value) noexcept {
  return static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Returns the bits of an unsigned 16-bit `value` (0..65535) as a signed Integer (above 32767
// becomes negative); throws RunTimeError 6 (overflow) for a value outside 0..65535.
int16_t UnsignedToInteger(int32_t value);

// Returns the unsigned 16-bit value (0..65535) that has the bits of `value`.
constexpr int32_t IntegerToUnsigned(int16_t value) noexcept {
  return static_cast<uint16_t>(value);
}

// Returns `address + offset`; throws RunTimeError 6 (overflow) when the signed sum overflows.
LONG_PTR PointerAdd(LONG_PTR address, LONG_PTR offset);

// Returns the address of a routine as a number, so that it can be stored and handed on.
template <typename Function>
LONG_PTR ProcedureAddress(Function* function) noexcept {
  return reinterpret_cast<LONG_PTR>(reinterpret_cast<void*>(function));
}

// Returns a counted reference (one AddRef) to the object behind a raw interface pointer; the raw
// pointer itself is not released. A null pointer gives an empty reference.
inline ComPtr<IUnknown> ObjectFromPointer(LONG_PTR pointer) noexcept {
  return ComPtr<IUnknown>(reinterpret_cast<IUnknown*>(pointer));
}

}  // namespace veltrin::controls
