// The table of standard error texts and the construction of numbered run-time errors.
#include "common/run_time_error.h"

#include <array>

namespace veltrin {
namespace {

struct StandardText {
  int number;
  std::u16string_view text;
};

constexpr std::array<StandardText, 15> kStandardTexts = {{
    {kInvalidProcedureCall, u"Invalid procedure call or argument"},
    {kOverflow, u"Overflow"},
    {kOutOfMemory, u"Out of memory"},
    {kSubscriptOutOfRange, u"Subscript out of range"},
    {kTypeMismatch, u"Type mismatch"},
    {kBadFileNameOrNumber, u"Bad file name or number"},
    {kFileNotFound, u"File not found"},
    {kPathFileAccessError, u"Path/File access error"},
    {kObjectVariableNotSet, u"Object variable or With block variable not set"},
    {kInvalidPropertyValue, u"Invalid property value"},
    {kInvalidPropertyArrayIndex, u"Invalid property array index"},
    {kSetNotSupportedAtRunTime, u"Set not supported at runtime"},
    {kSetNotSupported, u"Property is read-only"},
    {kGetNotSupported, u"Property is write-only"},
    {kObjectDoesNotSupportMember, u"Object doesn't support this property or method"},
}};

constexpr std::u16string_view kUnknownNumberText = u"Application-defined or object-defined error";

}  // namespace

std::u16string_view StandardErrorText(int number) noexcept {
  for (const StandardText& entry : kStandardTexts) {
    if (entry.number == number) return entry.text;
  }
  return kUnknownNumberText;
}

RunTimeError::RunTimeError(int number, std::u16string description)
    : std::runtime_error("run-time error " + std::to_string(number)),
      number_(number),
      description_(description.empty() ? std::u16string(StandardErrorText(number))
                                       : std::move(description)) {}

}  // namespace veltrin
