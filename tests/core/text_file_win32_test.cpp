// Windows specifics of replacing writes: a target that another program holds open without
// sharing refuses the move, keeps its content and leaves no temporary file.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "common/run_time_error.h"
#include "core/text_file.h"
#include "common/utf16.h"

namespace veltrin {
namespace {

namespace fs = std::filesystem;

TEST(TextFileWin32, LockedTargetKeepsItsContent) {
  const fs::path folder = fs::temp_directory_path() / "veltrin-text-file-win32";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::u16string path = (folder / "result.txt").u16string();
  WriteUtf8TextFile(u"旧的", path);
  const HANDLE lock = ::CreateFileW(WideCStr(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  try {
    WriteUtf8TextFile(u"新的", path);
    ADD_FAILURE() << "the write succeeded";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), kPathFileAccessError);
    EXPECT_NE(error.Description().find(path), std::u16string::npos);
  }
  EXPECT_EQ(ReadUtf8TextFile(path), u"旧的");
  ::CloseHandle(lock);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace veltrin
