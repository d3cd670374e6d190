// The portable parts of the book command: link resolution, chapter discovery, the next-page rule,
// the <br>-block fallback and the ZIP container.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "core/book/address.h"
#include "core/book/chapter_list.h"
#include "core/book/page_content.h"
#include "core/book/page_links.h"
#include "core/book/zip_writer.h"
#include "core/regex/regex.h"
#include "core/utf8.h"

namespace veltrin::book {
namespace {

std::string Utf8(std::u16string_view text) {
  return TextToUtf8(text);
}

TEST(BookAddressTest, ResolvesLinksAsABrowserDoes) {
  const struct {
    std::u16string_view base;
    std::u16string_view reference;
    std::u16string_view expected;
  } cases[] = {
      {u"http://h/book/index.html", u"1.html", u"http://h/book/1.html"},
      {u"http://h/book/index.html", u"../x/./2.html#top", u"http://h/x/2.html"},
      {u"http://h/book/", u"/root.html", u"http://h/root.html"},
      {u"https://h/book/", u"//other/a", u"https://other/a"},
      {u"http://h/book/i.html?p=1", u"?p=2", u"http://h/book/i.html?p=2"},
      {u"http://h", u"a.html", u"http://h/a.html"},
      {u"http://h/a/", u"HTTP://Example.COM/X", u"http://example.com/X"},
      {u"http://h/a/", u"#note", u""},
      {u"http://h/a/", u"javascript:void(0)", u""},
      {u"http://h/a/", u"mailto:x@y", u""},
      {u"http://h/a/", u"  ", u""},
      // Local tables of contents: links lead to files beside them, escapes decoded.
      {u"/home/u/book/toc.html", u"ch/1.html", u"/home/u/book/ch/1.html"},
      {u"/home/u/book/toc.html", u"../%E7%AC%AC1.html?x", u"/home/u/第1.html"},
      {u"C:\\saved\\toc.html", u"ch/1.html", u"C:\\saved\\ch\\1.html"},
      {u"C:\\saved\\toc.html", u"http://h/1", u"http://h/1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8(ResolveAddress(c.base, c.reference)), Utf8(c.expected))
        << Utf8(c.base) << " + " << Utf8(c.reference);
  }
  EXPECT_EQ(Utf8(AddressHost(u"http://Host:8080/x")), "host:8080");
  EXPECT_EQ(Utf8(AddressHost(u"/local/x")), "");
  EXPECT_EQ(Utf8(AddressFolder(u"http://h/a/b.html?q=/x")), "http://h/a/");
}

TEST(BookLinksTest, FindsLinksTitleAndBase) {
  const std::u16string html =
      u"<html><head><TITLE> 书名 &amp; 副题 </TITLE><base href='/b/'></head><body>"
      u"<!-- <a href=\"hidden.html\">x</a> --><script>var s='<a href=\"s.html\">';</script>"
      u"<A HREF=\"1.html\"><span>第一</span>\n章</A><a name=x>no href</a>"
      u"<a href=2.html>第&#20108;章&nbsp;</a><a href=\"#top\">顶部</a></body></html>";
  const PageLinks page = ScanPageLinks(html, u"http://h/toc/index.html");
  EXPECT_EQ(Utf8(page.title), "书名 & 副题");
  ASSERT_EQ(page.links.size(), 2u);
  EXPECT_EQ(Utf8(page.links[0].address), "http://h/b/1.html");
  EXPECT_EQ(Utf8(page.links[0].text), "第一 章");
  EXPECT_EQ(Utf8(page.links[1].address), "http://h/b/2.html");
  EXPECT_EQ(Utf8(page.links[1].text), "第二章");
}

std::vector<PageLink> Links(
    std::initializer_list<std::pair<const char16_t*, const char16_t*>> list) {
  std::vector<PageLink> links;
  for (const auto& [address, text] : list) links.push_back({address, text});
  return links;
}

std::string Describe(const std::vector<Chapter>& chapters) {
  std::string text;
  for (const Chapter& chapter : chapters)
    text += Utf8(chapter.title) + "=" + Utf8(chapter.address) + " ";
  return text;
}

TEST(BookChaptersTest, TakeTheLargestFolderGroupAtLastPlaces) {
  const std::vector<PageLink> links = Links({
      {u"http://h/", u"首页"},
      {u"http://h/b/3.html", u"三"},  // the newest block above the full list
      {u"http://h/b/2.html", u"二"},
      {u"http://h/b/", u"目录"},  // the table itself
      {u"http://h/other/x.html", u"别的"},
      {u"http://h/other/y.html", u"别的"},
      {u"http://elsewhere/b/9.html", u"外站"},
      {u"http://h/b/1.html", u"一"},
      {u"http://h/b/2.html", u"二"},
      {u"http://h/b/3.html", u"三"},
  });
  EXPECT_EQ(Describe(FindChapters(links, u"http://h/b/")),
            "一=http://h/b/1.html 二=http://h/b/2.html 三=http://h/b/3.html ");
  // A tie goes to the group that starts first.
  EXPECT_EQ(Describe(FindChapters(Links({{u"http://h/x/1", u"a"}, {u"http://h/y/1", u"b"}}),
                                  u"http://h/")),
            "a=http://h/x/1 ");
  EXPECT_TRUE(FindChapters(Links({{u"http://other/1", u"a"}}), u"http://h/").empty());
  // --links replaces the rule.
  EXPECT_EQ(
      Describe(MatchingChapters(links, regex::Regex(u"other|elsewhere"))),
      "别的=http://h/other/x.html 别的=http://h/other/y.html 外站=http://elsewhere/b/9.html ");
}

TEST(BookChaptersTest, FollowOnlyANextPageOfTheSameChapter) {
  const struct {
    const char16_t* chapter;
    const char16_t* text;
    const char16_t* link;
    bool followed;
  } cases[] = {
      {u"http://h/b/12.html", u"下一页", u"http://h/b/12_2.html", true},
      {u"http://h/b/12.html", u"下一頁 →", u"http://h/b/12-3.html", true},
      {u"http://h/b/12.html", u"下一页", u"http://h/b/12/2.html", true},
      {u"http://h/b/12/", u"下一页", u"http://h/b/12/2.html", false},
      {u"http://h/b/12.html", u"下一页", u"http://h/b/13.html", false},  // the next chapter
      {u"http://h/b/12.html", u"下一页", u"http://h/b/12_x.html", false},
      {u"http://h/b/12.html", u"下一章", u"http://h/b/12_2.html", false},
      {u"/s/b/12.html", u"下一页", u"/s/b/12_2.html", true},
  };
  for (const auto& c : cases) {
    const std::optional<std::u16string> next =
        NextPageAddress(Links({{c.link, c.text}}), c.chapter);
    EXPECT_EQ(next.has_value(), c.followed) << Utf8(c.chapter) << " " << Utf8(c.link);
  }
}

TEST(BookContentTest, FallsBackToTheLargestBreakBlock) {
  const std::u16string html =
      u"<html><head><style>p{}</style><script>x<br>y<br>z</script></head><body>"
      u"<div class=nav><a href=1>一</a><br><a href=2>二</a><br>短<br>短</div>"
      u"<div id=content>&nbsp;&nbsp;第一段，<b>接着</b>。<br />\n<br/>"
      u"\t第二段！<br><br>  第三段</div>"
      u"<div>页脚<br>版权</div></body></html>";
  const std::vector<std::u16string> lines = LargestBreakBlock(html);
  std::string joined;
  for (const std::u16string& line : lines) joined += Utf8(line) + "|";
  EXPECT_EQ(joined, "&nbsp;&nbsp;第一段，接着。|第二段！|第三段|");

  BlockedWords words;
  words.Rebuild({u"接着"});
  EXPECT_FALSE(HoldsText(ExtractPageText(html, words, ContentRule::kParagraphs).value_or(u"")));
  const std::optional<std::u16string> text = ExtractPageText(html, words, ContentRule::kAuto);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(Utf8(*text), "　　第一段，。\r\n　　第二段！\r\n　　第三段\r\n");
  // A page with paragraph text keeps it, whatever blocks it also has.
  const std::u16string with_paragraphs = u"<p>段落。</p>\n" + html;
  EXPECT_EQ(ExtractPageText(with_paragraphs, words, ContentRule::kAuto),
            ExtractPageText(with_paragraphs, words, ContentRule::kParagraphs));
  EXPECT_TRUE(LargestBreakBlock(u"<div>only one line</div>").empty());
}

TEST(BookZipTest, WritesEntriesThatInflateBack) {
  std::string archive;
  ZipWriter zip([&](std::string_view bytes) { archive += bytes; });
  const std::string text(10000, 'a');
  zip.AddStored("mimetype", "application/epub+zip");
  zip.AddDeflated("a.txt", text);
  zip.Finish();
  // The stored entry's bytes follow its 30-byte header and name directly.
  EXPECT_EQ(archive.substr(30, 28), "mimetypeapplication/epub+zip");
  const std::size_t header = 58;
  ASSERT_EQ(archive.substr(header, 4), std::string("PK\x03\x04", 4));
  const auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(archive[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(archive[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(archive[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(archive[at + 3])) << 24;
  };
  const std::uint32_t packed = u32(header + 18);
  EXPECT_LT(packed, 200u);
  EXPECT_EQ(u32(header + 22), text.size());
  std::string inflated(text.size(), '\0');
  z_stream stream{};
  ASSERT_EQ(inflateInit2(&stream, -15), Z_OK);
  stream.next_in = reinterpret_cast<Bytef*>(archive.data() + header + 30 + 5);
  stream.avail_in = packed;
  stream.next_out = reinterpret_cast<Bytef*>(inflated.data());
  stream.avail_out = static_cast<uInt>(inflated.size());
  EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
  inflateEnd(&stream);
  EXPECT_EQ(inflated, text);
  EXPECT_EQ(u32(header + 14),
            crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
  // The end record counts both entries.
  ASSERT_GE(archive.size(), 22u);
  EXPECT_EQ(archive.substr(archive.size() - 22, 4), std::string("PK\x05\x06", 4));
  EXPECT_EQ(archive[archive.size() - 12], 2);
}

}  // namespace
}  // namespace veltrin::book
