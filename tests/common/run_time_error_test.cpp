// Numbered run-time errors: the standard text by number, a given description, unknown numbers.
#include "common/run_time_error.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

TEST(RunTimeError, TakesTheStandardTextUnlessGivenOne) {
  const RunTimeError invalid(kInvalidPropertyValue);
  EXPECT_EQ(invalid.Number(), 380);
  EXPECT_EQ(invalid.Description(), u"Invalid property value");
  EXPECT_STREQ(invalid.what(), "run-time error 380");

  const RunTimeError missing(kFileNotFound);
  EXPECT_EQ(missing.Description(), u"File not found");
  const RunTimeError no_member(kObjectDoesNotSupportMember);
  EXPECT_EQ(no_member.Description(), u"Object doesn't support this property or method");

  const RunTimeError worded(kInvalidPropertyValue, u"Validation cancelled");
  EXPECT_EQ(worded.Number(), 380);
  EXPECT_EQ(worded.Description(), u"Validation cancelled");
}

TEST(RunTimeError, UnknownNumbersGetTheApplicationDefinedText) {
  EXPECT_EQ(StandardErrorText(0), u"Application-defined or object-defined error");
  EXPECT_EQ(StandardErrorText(1000), u"Application-defined or object-defined error");
  EXPECT_EQ(RunTimeError(32755).Description(), u"Application-defined or object-defined error");
}

TEST(RunTimeError, EveryNamedNumberHasItsOwnText) {
  const int numbers[] = {kInvalidProcedureCall,     kOverflow,
                         kSubscriptOutOfRange,      kTypeMismatch,
                         kBadFileNameOrNumber,      kFileNotFound,
                         kPathFileAccessError,      kObjectVariableNotSet,
                         kInvalidPropertyValue,     kInvalidPropertyArrayIndex,
                         kSetNotSupportedAtRunTime, kSetNotSupported,
                         kGetNotSupported,          kObjectDoesNotSupportMember};
  const std::u16string_view unknown = StandardErrorText(0);
  for (const int number : numbers) {
    EXPECT_NE(StandardErrorText(number), unknown) << number;
    for (const int other : numbers) {
      if (other != number) {
        EXPECT_NE(StandardErrorText(number), StandardErrorText(other)) << number;
      }
    }
  }
}

}  // namespace
}  // namespace veltrin
