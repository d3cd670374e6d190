// POSIX specifics of replacing writes: permissions survive, and a read-only file system fails the
// write and keeps the old file.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "common/run_time_error.h"
#include "core/text_file.h"
#include "tests/core/support/small_mount_posix.h"

namespace veltrin {
namespace {

namespace fs = std::filesystem;

class TextFilePosix : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (std::string("veltrin-text-file-posix-") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all);
    fs::remove_all(folder_);
  }
  fs::path folder_;
};

TEST_F(TextFilePosix, ReplacedFileKeepsItsPermissions) {
  const std::u16string path = (folder_ / "list.txt").u16string();
  WriteUtf8TextFile(u"a", path);
  ASSERT_EQ(::chmod((folder_ / "list.txt").c_str(), 0640), 0);
  WriteUtf8TextFile(u"b", path);
  struct stat status {};
  ASSERT_EQ(::stat((folder_ / "list.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(TextFilePosix, ReadOnlyFileSystemKeepsTheOldFile) {
  // A read-only file system stops root too, where folder permissions would not.
  test::SmallMount disk(folder_ / "disk", 64 << 10);
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
  const std::u16string path = (folder_ / "disk" / "result.txt").u16string();
  WriteUtf8TextFile(u"old", path);
  ASSERT_TRUE(disk.MakeReadOnly());
  try {
    WriteUtf8TextFile(u"new", path);
    ADD_FAILURE() << "the write succeeded";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), kPathFileAccessError);
  }
  EXPECT_EQ(ReadUtf8TextFile(path), u"old");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "disk"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace veltrin
