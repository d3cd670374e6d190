// The portable rules of the file helpers: the long form of paths and which entries a search
// reports for each mask.
#include "core/file_search.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

TEST(FileSearch, LongPathForm) {
  const struct {
    const char16_t* path;
    const char16_t* expected;
  } rows[] = {
      {u"C:\\dir\\file.txt", u"\\\\?\\C:\\dir\\file.txt"},
      {u"\\\\server\\share\\file.txt", u"\\\\?\\UNC\\server\\share\\file.txt"},
      // Already long, or a device path: taken as it is, never wrapped a second time.
      {u"\\\\?\\C:\\dir\\file.txt", u"\\\\?\\C:\\dir\\file.txt"},
      {u"\\\\?\\UNC\\server\\share", u"\\\\?\\UNC\\server\\share"},
      {u"\\\\.\\COM1", u"\\\\.\\COM1"},
      // The long form has no other separator than the backslash.
      {u"C:/dir/file.txt", u"\\\\?\\C:\\dir\\file.txt"},
      {u"//server/share/file.txt", u"\\\\?\\UNC\\server\\share\\file.txt"},
      // Not absolute: the long form names nothing, so such a path is never found.
      {u"\\single", u"\\\\?\\\\single"},
      {u"relative.txt", u"\\\\?\\relative.txt"},
      {u"", u"\\\\?\\"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(LongPathForm(row.path), row.expected)
        << std::string(row.path, row.path + std::char_traits<char16_t>::length(row.path));
  }
}

TEST(FileSearch, WhichPathsAreMadeFullBeforeTheLongForm) {
  const struct {
    const char16_t* path;
    bool full;  // an absolute drive or UNC path, resolved by the system first
    bool long_form;
  } rows[] = {
      {u"C:\\books\\..\\books\\12.html", true, false},
      {u"c:/books/12.html", true, false},
      {u"\\\\server\\share\\..\\x", true, false},
      {u"//server/share/x", true, false},
      {u"\\\\?\\C:\\x", false, true},
      {u"//?/C:/x", false, true},
      {u"\\\\.\\COM1", false, true},
      {u"C:relative.html", false, false},
      {u"\\rooted.html", false, false},
      {u"..\\page.html", false, false},
      {u"页面.html", false, false},
      {u"1:\\x", false, false},
      {u"", false, false},
  };
  for (const auto& row : rows) {
    const std::u16string_view path(row.path);
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    EXPECT_EQ(detail::IsFullDriveOrUncPath(path), row.full);
    EXPECT_EQ(detail::IsLongOrDeviceForm(path), row.long_form);
  }
}

TEST(FileSearch, NormalAttributeIsReportedAsZero) {
  EXPECT_EQ(detail::ReportedAttributes(0x80), 0);
  EXPECT_EQ(detail::ReportedAttributes(0x20), 0x20);
  EXPECT_EQ(detail::ReportedAttributes(0x80 | 0x01), 0x81) << "only the lone normal bit";
  EXPECT_EQ(detail::ReportedAttributes(0x10), 0x10);
}

TEST(FileSearch, EntryQualifies) {
  struct Row {
    uint32_t attributes;
    bool normal;
    const char16_t* name;
    int mask;
    bool expected;
  };
  const Row rows[] = {
      {0x80, true, u"plain.txt", 0, true},
      {0x20, false, u"archived.txt", 0, true},
      {0x01, false, u"readonly.txt", 0, true},
      {0x02, false, u"hidden.txt", 0, false},
      {0x02, false, u"hidden.txt", kAttributeHidden, true},
      {0x04, false, u"system.sys", kAttributeHidden, false},
      {0x06, false, u"both.sys", kAttributeHidden | kAttributeSystem, true},
      {0x10, false, u"folder", 0, false},
      {0x10, false, u"folder", kAttributeDirectory, true},
      {0x10, false, u".", kAttributeDirectory, false},
      {0x10, false, u"..", kAttributeDirectory, false},
      {0x12, false, u"hidden folder", kAttributeDirectory, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(detail::EntryQualifies(row.attributes, row.normal, row.name, row.mask), row.expected)
        << std::string(row.name, row.name + std::char_traits<char16_t>::length(row.name));
  }
}

}  // namespace
}  // namespace veltrin
