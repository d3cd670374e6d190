// The directory search and attribute query on a real POSIX folder: wildcards, dot-files as hidden
// entries, a trailing slash, missing paths and the continuation rules.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "core/file_search.h"
#include "common/run_time_error.h"

namespace veltrin {
namespace {

namespace fs = std::filesystem;

int ErrorNumberOf(const std::u16string& path, int mask) {
  try {
    FindFileEntry(path, mask);
  } catch (const RunTimeError& error) {
    return error.Number();
  }
  return 0;
}

class FileSearchPosix : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / "veltrin-file-search";
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "sub");
    fs::create_directories(folder_ / "empty");
    for (const char* name : {"a.txt", "b.html", ".hidden.txt", "[x].txt"})
      std::ofstream(folder_ / name) << "x";
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all);
    fs::remove_all(folder_);
  }

  std::u16string PathOf(const std::string& name) const {
    return folder_.u16string() + u"/" + fs::path(name).u16string();
  }

  // Returns every name a search reports, the first one and then each continuation.
  static std::set<std::u16string> AllEntries(const std::u16string& path, int mask) {
    std::set<std::u16string> names;
    for (std::u16string name = FindFileEntry(path, mask); !name.empty();
         name = FindFileEntry(u"", mask)) {
      names.insert(name);
    }
    return names;
  }

  fs::path folder_;
};

using Names = std::set<std::u16string>;

TEST_F(FileSearchPosix, ExactNameThenEndThenError5) {
  EXPECT_EQ(FindFileEntry(PathOf("a.txt"), 0), u"a.txt");
  EXPECT_EQ(FindFileEntry(u"", 0), u"");
  EXPECT_EQ(ErrorNumberOf(u"", 0), kInvalidProcedureCall);
}

TEST_F(FileSearchPosix, Wildcards) {
  EXPECT_EQ(AllEntries(PathOf("*.html"), 0), Names{u"b.html"});
  EXPECT_EQ(AllEntries(PathOf("?.txt"), 0), Names{u"a.txt"});
  EXPECT_EQ(AllEntries(PathOf("*.txt"), 0), (Names{u"a.txt", u"[x].txt"}));
  EXPECT_EQ(AllEntries(PathOf("[x]?txt"), 0), Names{u"[x].txt"});  // brackets are literal
  EXPECT_EQ(AllEntries(PathOf("*.none"), 0), Names{});
}

TEST_F(FileSearchPosix, DotFilesAreHidden) {
  EXPECT_EQ(FindFileEntry(PathOf(".hidden.txt"), 0), u"");
  EXPECT_EQ(FindFileEntry(PathOf(".hidden.txt"), kAttributeHidden), u".hidden.txt");
  EXPECT_EQ(AllEntries(PathOf("*.txt"), kAttributeHidden),
            (Names{u"a.txt", u"[x].txt", u".hidden.txt"}));
}

TEST_F(FileSearchPosix, TrailingSlashListsTheFolder) {
  EXPECT_EQ(AllEntries(PathOf(""), 0), (Names{u"a.txt", u"b.html", u"[x].txt"}));
  EXPECT_EQ(AllEntries(PathOf(""), kAttributeDirectory),
            (Names{u"a.txt", u"b.html", u"[x].txt", u"sub", u"empty"}));
  EXPECT_EQ(AllEntries(PathOf("empty/"), kAttributeDirectory), Names{});
  EXPECT_EQ(FindFileEntry(PathOf("sub"), 0), u"");  // a folder is not a file
  EXPECT_EQ(FindFileEntry(PathOf("sub"), kAttributeDirectory), u"sub");
}

TEST_F(FileSearchPosix, MissingAndRelativePathsGiveEmpty) {
  EXPECT_EQ(FindFileEntry(PathOf("missing.html"), 0), u"");
  EXPECT_EQ(FindFileEntry(PathOf("missing/*.html"), 0), u"");
  EXPECT_EQ(FindFileEntry(PathOf("a.txt/inside.html"), 0), u"");  // through a file
  EXPECT_EQ(FindFileEntry(PathOf("a.txt/*"), 0), u"");
  EXPECT_EQ(FindFileEntry(u"a.txt", 0), u"");
  EXPECT_EQ(ErrorNumberOf(u"", 0), kInvalidProcedureCall);  // no search was left open
}

TEST_F(FileSearchPosix, VolumeMaskClosesTheSearch) {
  EXPECT_EQ(FindFileEntry(PathOf("*.txt"), 0).empty(), false);
  EXPECT_EQ(FindFileEntry(PathOf("a.txt"), kAttributeVolume), u"");
  EXPECT_EQ(ErrorNumberOf(u"", 0), kInvalidProcedureCall);
}

TEST_F(FileSearchPosix, AnUnusableNameIsError52AndAPathThroughAFileFindsNothing) {
  // A name longer than any file system allows fails for root as well.
  const std::string too_long(300, 'x');
  EXPECT_EQ(ErrorNumberOf(PathOf(too_long), 0), kBadFileNameOrNumber);
  EXPECT_EQ(ErrorNumberOf(PathOf(too_long + "/*.txt"), 0), kBadFileNameOrNumber);
  // A regular file in the place of a folder: nothing is there, as on Windows.
  EXPECT_EQ(ErrorNumberOf(PathOf("a.txt/b.txt"), 0), 0);
  EXPECT_EQ(ErrorNumberOf(PathOf("a.txt/*.txt"), 0), 0);
}

TEST_F(FileSearchPosix, FileAttributes) {
  EXPECT_EQ(FileAttributes(PathOf("a.txt")), 0);
  EXPECT_EQ(FileAttributes(PathOf("sub")), kAttributeDirectory);
  EXPECT_EQ(FileAttributes(PathOf("sub/")), kAttributeDirectory);
  EXPECT_EQ(FileAttributes(PathOf(".hidden.txt")), kAttributeHidden);
  ASSERT_EQ(::chmod((folder_ / "b.html").c_str(), 0444), 0);
  EXPECT_EQ(FileAttributes(PathOf("b.html")), kAttributeReadOnly);
  EXPECT_EQ(FileAttributes(u"/dev/null"), kAttributeSystem);
  for (const std::u16string& path : {PathOf("missing"), std::u16string(u"a.txt")}) {
    try {
      FileAttributes(path);
      ADD_FAILURE() << "no error";
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.Number(), kFileNotFound);
    }
  }
}

}  // namespace
}  // namespace veltrin
