// The table of standard error texts and the construction of numbered run-time errors.
#include "app/core/run_time_error.h"

namespace veltrin {

const char16_t* StandardErrorText(int number) noexcept {
  switch (number) {
    case kInvalidProcedureCall:
      return u"Invalid procedure call or argument";
    case kOverflow:
      return u"Overflow";
    case kSubscriptOutOfRange:
      return u"Subscript out of range";
    case kTypeMismatch:
      return u"Type mismatch";
    case kBadFileNameOrNumber:
      return u"Bad file name or number";
    case kFileNotFound:
      return u"File not found";
    case kInvalidPropertyValue:
      return u"Invalid property value";
    case kInvalidPropertyArrayIndex:
      return u"Invalid property array index";
    case kSetNotSupportedAtRunTime:
      return u"Set not supported at runtime";
    case kSetNotSupported:
      return u"Property is read-only";
    case kGetNotSupported:
      return u"Property is write-only";
    default:
      return u"Application-defined or object-defined error";
  }
}

RunTimeError::RunTimeError(int number, std::u16string description)
    : std::runtime_error("run-time error " + std::to_string(number)),
      number_(number),
      description_(description.empty() ? std::u16string(StandardErrorText(number))
                                       : std::move(description)) {}

}  // namespace veltrin
