// The portable rules of the file helpers: the long form of paths and which entries a search
// reports for each mask.
#include "app/core/file_search.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

TEST(FileSearch, LongPathForm) {
  EXPECT_EQ(LongPathForm(u"C:\\dir\\file.txt"), u"\\\\?\\C:\\dir\\file.txt");
  EXPECT_EQ(LongPathForm(u"\\\\server\\share\\file.txt"), u"\\\\?\\UNC\\server\\share\\file.txt");
  EXPECT_EQ(LongPathForm(u"\\single"), u"\\\\?\\\\single");
  EXPECT_EQ(LongPathForm(u"relative.txt"), u"\\\\?\\relative.txt");
  EXPECT_EQ(LongPathForm(u""), u"\\\\?\\");
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
