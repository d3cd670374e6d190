// Windows specifics of the text files: a target that another program holds open without sharing
// refuses the move, keeps its content and leaves no temporary file; paths past MAX_PATH work.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

// Eight nested folders of 45 characters under the temporary folder, removed again (through the
// long form: std::filesystem cannot remove them).
class LongFolder {
 public:
  LongFolder() {
    fs::path folder = fs::temp_directory_path();
    for (int i = 0; i < 8; ++i) {
      folder /= std::u16string(45, static_cast<char16_t>(u'a' + i));
      folders_.push_back(folder.u16string());
      ::CreateDirectoryW(WideCStr(u"\\\\?\\" + folders_.back()), nullptr);
    }
    Remove(kFile);
  }
  ~LongFolder() {
    Remove(kFile);
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
      ::RemoveDirectoryW(WideCStr(u"\\\\?\\" + *it));
    }
  }
  const std::u16string& Path() const { return folders_.back(); }
  static constexpr std::u16string_view kFile = u"章节.txt";

 private:
  void Remove(std::u16string_view name) const {
    ::DeleteFileW(WideCStr(u"\\\\?\\" + Path() + u"\\" + std::u16string(name)));
  }
  std::vector<std::u16string> folders_;
};

// A full path of about 400 characters, with ".." in it, is read, streamed and replaced.
TEST(TextFileWin32, PathsLongerThanMaxPathAreReadAndWritten) {
  const LongFolder folder;
  const std::u16string path = folder.Path() + u"\\x\\..\\" + std::u16string(LongFolder::kFile);
  ASSERT_GT(path.size(), static_cast<size_t>(MAX_PATH));

  WriteUtf8TextFile(u"第一", path);
  WriteUtf8TextFile(u"第二", path);
  EXPECT_EQ(ReadUtf8TextFile(path), u"第二");
  FileByteReader reader(path);
  char bytes[16] = {};
  EXPECT_EQ(reader.Read(bytes, sizeof bytes), 6u);  // two characters of three bytes
}

}  // namespace
}  // namespace veltrin
