// UTF-8 text files on the real file system: byte-order mark handling, whole replacement of an
// existing file, and failures that name the path and leave the old file and no temporary behind.
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/run_time_error.h"
#include "core/utf8.h"

namespace veltrin {
namespace {

namespace fs = std::filesystem;

class TextFile : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (std::string("veltrin-text-file-") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::u16string PathOf(const std::string& name) const { return (folder_ / name).u16string(); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
};

// Runs `action` and returns the number of the RunTimeError it throws (0 when none), checking
// that the description names the path.
template <typename Action>
int ErrorNumberOf(Action action, const std::u16string& path) {
  try {
    action();
  } catch (const RunTimeError& error) {
    EXPECT_NE(error.Description().find(path), std::u16string::npos);
    return error.Number();
  }
  return 0;
}

TEST_F(TextFile, ChineseTextRoundTripsWithoutByteOrderMark) {
  const std::u16string path = PathOf("out.txt");
  const std::u16string text = u"第一章\r\n内容。\U0001F600\r\n";
  WriteUtf8TextFile(text, path);
  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes, TextToUtf8(text));
  EXPECT_EQ(bytes.substr(0, 3), "\xE7\xAC\xAC");
  EXPECT_EQ(ReadUtf8TextFile(path), text);
}

TEST_F(TextFile, ReadConsumesOneLeadingByteOrderMark) {
  const std::u16string path = PathOf("marked.html");
  struct Row {
    std::string bytes;
    std::u16string text;
  };
  const Row rows[] = {
      {"\xEF\xBB\xBF<p>\xE6\x96\x87</p>", u"<p>文</p>"},
      {"<p>\xE6\x96\x87</p>", u"<p>文</p>"},
      {"\xEF\xBB\xBF\xEF\xBB\xBFx", u"\uFEFFx"},
      {"x\xEF\xBB\xBF", u"x\uFEFF"},
      {"\xEF\xBB\xBF", u""},
      {"", u""},
      {std::string("a\0b\xFF", 4), std::u16string(u"a\0b\uFFFD", 4)},
  };
  for (const Row& row : rows) {
    WriteFileBytes(row.bytes, path);
    EXPECT_EQ(ReadUtf8TextFile(path), row.text);
  }
}

TEST_F(TextFile, WritingOverAFileReplacesItWhole) {
  const std::u16string path = PathOf("words.txt");
  WriteUtf8TextFile(u"一个很长的旧内容\r\n第二行\r\n", path);
  WriteUtf8TextFile(u"短\r\n", path);
  EXPECT_EQ(ReadUtf8TextFile(path), u"短\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"words.txt"});
}

TEST_F(TextFile, ReadErrorsAreNumbered) {
  const std::u16string missing = PathOf("missing.html");
  EXPECT_EQ(ErrorNumberOf([&] { ReadUtf8TextFile(missing); }, missing), kFileNotFound);
  const std::u16string in_missing_folder = PathOf("no-folder/page.html");
  EXPECT_EQ(ErrorNumberOf([&] { ReadUtf8TextFile(in_missing_folder); }, in_missing_folder),
            kFileNotFound);
  const std::u16string folder = folder_.u16string();
  EXPECT_EQ(ErrorNumberOf([&] { ReadUtf8TextFile(folder); }, folder), kPathFileAccessError);
}

TEST_F(TextFile, FailedWriteLeavesTheTargetAndNoTemporary) {
  fs::create_directories(folder_ / "target" / "inside");
  const std::u16string onto_folder = PathOf("target");
  EXPECT_EQ(ErrorNumberOf([&] { WriteUtf8TextFile(u"text", onto_folder); }, onto_folder),
            kPathFileAccessError);
  EXPECT_TRUE(fs::is_directory(folder_ / "target" / "inside"));
  EXPECT_EQ(Entries(), std::vector<std::string>{"target"});

  const std::u16string in_missing_folder = PathOf("no-folder/out.txt");
  EXPECT_EQ(
      ErrorNumberOf([&] { WriteUtf8TextFile(u"text", in_missing_folder); }, in_missing_folder),
      kPathFileAccessError);
}

TEST_F(TextFile, LongNameNearTheLimitCanBeReplaced) {
  const std::u16string path = PathOf(std::string(250, 'n') + ".txt");
  WriteUtf8TextFile(u"old", path);
  WriteUtf8TextFile(u"new", path);
  EXPECT_EQ(ReadUtf8TextFile(path), u"new");
}

}  // namespace
}  // namespace veltrin
