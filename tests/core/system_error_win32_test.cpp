// The system's wording of Win32 error codes: one line, and nothing for a code no table knows.
#include "core/system_error_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace veltrin {
namespace {

TEST(SystemErrorText, OneLineFromTheSystemTable) {
  const std::u16string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of(u"\r\n"), std::u16string::npos);
  EXPECT_NE(text.back(), u' ');
  EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND, L"no-such-module.dll"), text)
      << "a module that is not loaded leaves the system's table";
}

TEST(SystemErrorText, UnknownCodeGivesNothing) {
  EXPECT_TRUE(SystemErrorText(0x2FFFFFF0u).empty());
}

}  // namespace
}  // namespace veltrin
