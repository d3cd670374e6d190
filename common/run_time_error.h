// Numbered run-time errors: the one exception type that carries an error number and its text, and
// the one table of the runtime's standard texts for the numbers this system raises.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace veltrin {

// Error numbers with a standard text.
enum ErrorNumber : int {
  kInvalidProcedureCall = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kTypeMismatch = 13,
  kBadFileNameOrNumber = 52,
  kFileNotFound = 53,
  kPathFileAccessError = 75,
  kObjectVariableNotSet = 91,
  kInvalidPropertyValue = 380,
  kInvalidPropertyArrayIndex = 381,
  kSetNotSupportedAtRunTime = 382,
  kSetNotSupported = 383,
  kGetNotSupported = 394,
  kObjectDoesNotSupportMember = 438,
};

// Returns the runtime's standard text for an error number, or "Application-defined or
// object-defined error" for a number the table does not hold.
std::u16string_view StandardErrorText(int number) noexcept;

// A numbered run-time error. A description left empty takes the standard text of the number.
class RunTimeError : public std::runtime_error {
 public:
  explicit RunTimeError(int number, std::u16string description = {});

  int Number() const noexcept { return number_; }
  const std::u16string& Description() const noexcept { return description_; }

 private:
  int number_;                  // the error number callers switch on
  std::u16string description_;  // the text shown to the user
};

}  // namespace veltrin
