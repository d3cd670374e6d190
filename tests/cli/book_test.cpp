// `veltrin book` run as a program against a loopback site made here: chapter discovery (newest
// block, table with <base>, GBK without a charset header), <br> chapters, three-page chapters,
// retried, missing and interrupted chapters with the rerun, and the EPUB's structure.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/pipeline.h"
#include "core/text_file.h"
#include "core/utf8.h"
#include "tests/cli/support/process_runner.h"
#include "tests/core/support/loopback_http_server.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace veltrin {
namespace {

namespace fs = std::filesystem;
using test::HostPath;
using test::HttpReply;
using test::HttpRequest;
using test::MakeReply;
using test::ProcessResult;

// The pipeline's result for a UTF-8 page with the test's blocked word.
std::string Expected(const std::string& page) {
  BlockedWords words;
  words.Rebuild({u"广告"});
  return TextToUtf8(ExtractParagraphs(Utf8BytesToText(page), words).value());
}

std::string Paragraphs(const std::string& text) {
  return "<html><body>\n<p>" + text + "</p>\n<p>广告《甲》《乙》</p>\n</body></html>\n";
}

const std::string kGbkToc =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">"
    "<title>\xc4\xbf\xc2\xbc</title></head><body>\n<a href=\"1.html\">\xb5\xda\xd2\xbb\xd5\xc2</a>"
    "<a href=\"2.html\">\xb5\xda\xb6\xfe\xd5\xc2</a></body></html>\n";  // 目录, 第一章, 第二章
const std::string kGbkChapter =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\"></head>"
    "<body>\n<p>\xbc\xd7\xd2\xd2\xb1\xfb\xb6\xa1\xa1\xa3</p>\n</body></html>\n";  // 甲乙丙丁。

const std::string kBreakChapter =
    "<html><body><div class=\"nav\"><a href=\"/\">首页</a></div>\n"
    "<div id=\"content\">&nbsp;&nbsp;&nbsp;&nbsp;换行第一段，<br /><br />\n"
    "&nbsp;&nbsp;&nbsp;&nbsp;还是第一段。<br /><br />&nbsp;&nbsp;第二段广告！<br /></div>\n"
    "</body></html>\n";

class BookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (std::string("veltrin_book_") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "scratch");
    std::ofstream(folder_ / "blocked.txt", std::ios::binary) << "广告\r\n";
#ifndef _WIN32
    setenv("no_proxy", "127.0.0.1", 1);
#endif
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  HttpReply Serve(const HttpRequest& request) {
    const std::string& path = request.path;
    auto html = [](const std::string& body) {
      return MakeReply(200, "OK", body, {{"Content-Type", "text/html; charset=utf-8"}});
    };
    if (path == "/a/toc.html") {
      return html(
          "<html><head><title>测试之书</title><base href=\"/a/ch/\"></head><body>\n"
          "<div class=\"newest\"><a href=\"4.html\">第四章 重试</a>"
          "<a href=\"3.html\">第三章 三页</a></div>\n"
          "<table><tr><td><a href=\"1.html\">第一章 段落</a></td>"
          "<td><a href=\"2.html\">第二章 换行</a></td></tr>\n"
          "<tr><td><a href=\"3.html\">第三章 三页</a></td>"
          "<td><a href=\"4.html\">第四章 重试</a></td></tr></table>\n"
          "<a href=\"/\">首页</a> <a href=\"/a/about.html\">关于</a></body></html>\n");
    }
    if (path == "/a/ch/1.html") return html(Paragraphs("第一句，\n第二句。"));
    if (path == "/a/ch/2.html") return html(kBreakChapter);
    if (path == "/a/ch/3.html")
      return html(Paragraphs("甲页。") + "<a href=\"3_2.html\">下一页</a>");
    if (path == "/a/ch/3_2.html") {
      return html(Paragraphs("乙页。") +
                  "<a href=\"3_3.html\">下一页</a><a href=\"4.html\">下一章</a>");
    }
    if (path == "/a/ch/3_3.html")
      return html(Paragraphs("丙页。") + "<a href=\"4.html\">下一章</a>");
    if (path == "/a/ch/4.html") {
      // Two refusals before each answer: one with Retry-After, one without.
      switch (retried_requests_++ % 3) {
        case 0:
          return MakeReply(503, "Service Unavailable", "", {{"Retry-After", "0"}});
        case 1:
          return MakeReply(429, "Too Many Requests", "");
        default:
          return html(Paragraphs("终于。"));
      }
    }
    if (path == "/g/toc.html")
      return MakeReply(200, "OK", kGbkToc, {{"Content-Type", "text/html"}});
    if (path == "/g/1.html" || path == "/g/2.html") {
      return MakeReply(200, "OK", kGbkChapter, {{"Content-Type", "text/html"}});
    }
    if (path == "/f/toc.html" || path == "/h/toc.html") {
      const std::string folder = path.substr(0, 2);  // "/f" or "/h"
      return html("<html><head><title>书</title></head><body>\n<a href=\"" + folder +
                  "/1.html\">第一章</a><a href=\"" + folder + "/2.html\">第二章</a><a href=\"" +
                  folder + "/3.html\">第三章</a><a href=\"" + folder +
                  "/4.html\">第四章</a></body></html>\n");
    }
    if (path == "/f/2.html") return MakeReply(404, "Not Found", "");
    if (path.starts_with("/h/") && stopped_ && (path == "/h/3.html" || path == "/h/4.html")) {
      return HttpReply{};  // the server has gone: the connection closes without an answer
    }
    if (path.starts_with("/f/") || path.starts_with("/h/")) {
      return html(Paragraphs("章节" + path.substr(3, 1) + "。"));
    }
    return MakeReply(404, "Not Found", "");
  }

  ProcessResult Book(std::vector<std::u16string> arguments, bool quiet = true) {
    arguments.insert(arguments.begin(), u"book");
    if (quiet) arguments.push_back(u"-q");
    return test::RunProcess(HostPath(VELTRIN_CLI_EXE), arguments, "", folder_, folder_ / "scratch");
  }

  std::u16string Url(const std::string& path) {
    return Utf8BytesToText(server_.Url(path));
  }

  std::string Read(const std::string& name) {
    std::ifstream file(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  std::vector<std::string> PathsSince(std::size_t first) {
    std::vector<std::string> paths;
    const auto requests = server_.Requests();
    for (std::size_t i = first; i < requests.size(); ++i) paths.push_back(requests[i].path);
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  fs::path folder_;
  std::atomic<int> retried_requests_{0};
  std::atomic<bool> stopped_{false};
  test::LoopbackHttpServer server_{[this](const HttpRequest& request) { return Serve(request); }};
};

// The book text for chapters of (title, text).
std::string TextBook(const std::vector<std::pair<std::string, std::string>>& chapters) {
  std::string book;
  for (const auto& [title, text] : chapters) book += title + "\r\n" + text + "\r\n";
  return book;
}

TEST_F(BookTest, ListsTheChaptersOfATableWithBaseAndNewestBlock) {
  const ProcessResult result = Book({Url("/a/toc.html"), u"--list"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  const std::string base = server_.Url("/a/ch/");
  EXPECT_EQ(result.out, "1\t第一章 段落\t" + base + "1.html\n2\t第二章 换行\t" + base +
                            "2.html\n3\t第三章 三页\t" + base + "3.html\n4\t第四章 重试\t" + base +
                            "4.html\n");
  EXPECT_EQ(server_.Requests().size(), 1u);  // nothing but the table of contents
  // --links replaces the folder rule.
  const ProcessResult links = Book({Url("/a/toc.html"), u"--list", u"--links", u"/a/about"});
  EXPECT_EQ(links.out, "1\t关于\t" + server_.Url("/a/about.html") + "\n");
}

TEST_F(BookTest, WritesTheWholeBookAsText) {
  const ProcessResult result = Book(
      {Url("/a/toc.html"), u"-o", u"book.txt", u"--blocked", u"blocked.txt", u"-j", u"2"}, false);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.err, "");  // no progress line when standard error is not a terminal
  const std::string three = Expected(Paragraphs("甲页。")) + Expected(Paragraphs("乙页。")) +
                            Expected(Paragraphs("丙页。"));
  EXPECT_EQ(Read("book.txt"),
            TextBook({{"第一章 段落", Expected(Paragraphs("第一句，\n第二句。"))},
                      {"第二章 换行", "　　换行第一段，还是第一段。\r\n　　第二段！\r\n　　\r\n"},
                      {"第三章 三页", three},
                      {"第四章 重试", Expected(Paragraphs("终于。"))}}));
  EXPECT_EQ(retried_requests_, 3);
  EXPECT_FALSE(fs::exists(folder_ / "book.parts"));
}

TEST_F(BookTest, DecodesAGbkSiteByItsMetaDeclaration) {
  const ProcessResult result = Book({Url("/g/toc.html"), u"-o", u"gbk.txt"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::string text = Expected("<p>甲乙丙丁。</p>\n");
  EXPECT_EQ(Read("gbk.txt"), TextBook({{"第一章", text}, {"第二章", text}}));
}

TEST_F(BookTest, ReportsAMissingChapterAndWritesOnlyWithPartial) {
  const std::string address = server_.Url("/f/2.html");
  ProcessResult result = Book({Url("/f/toc.html"), u"-o", u"f.txt"});
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_NE(result.err.find("veltrin: chapter 2 \"第二章\" " + address + ": HTTP 404 Not Found\n"),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(folder_ / "f.txt"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "f.parts"), fs::directory_iterator()),
            3);

  result = Book({Url("/f/toc.html"), u"-o", u"f.txt", u"--partial"});
  EXPECT_EQ(result.exit_code, 3);
  const std::string book = Read("f.txt");
  EXPECT_NE(book.find("\r\n[缺章: 第二章 " + address + "]\r\n\r\n第三章\r\n"), std::string::npos)
      << book;
}

TEST_F(BookTest, ARerunFinishesABookWhoseServerStoppedHalfWay) {
  stopped_ = true;
  ProcessResult result = Book({Url("/h/toc.html"), u"-o", u"h.txt", u"--blocked", u"blocked.txt"});
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_NE(result.err.find("chapter 3"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(folder_ / "h.txt"));

  // A part that a crash cut short is fetched again.
  std::vector<fs::path> parts;
  for (const auto& entry : fs::directory_iterator(folder_ / "h.parts"))
    parts.push_back(entry.path());
  std::sort(parts.begin(), parts.end());
  ASSERT_EQ(parts.size(), 2u);
  fs::resize_file(parts[0], fs::file_size(parts[0]) - 3);

  stopped_ = false;
  const std::size_t before = server_.Requests().size();
  result = Book({Url("/h/toc.html"), u"-o", u"h.txt", u"--blocked", u"blocked.txt"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(PathsSince(before),
            (std::vector<std::string>{"/h/1.html", "/h/3.html", "/h/4.html", "/h/toc.html"}));
  std::vector<std::pair<std::string, std::string>> chapters;
  for (const char* number : {"一", "二", "三", "四"}) {
    const std::string digit = std::to_string(chapters.size() + 1);
    chapters.push_back(
        {std::string("第") + number + "章", Expected(Paragraphs("章节" + digit + "。"))});
  }
  EXPECT_EQ(Read("h.txt"), TextBook(chapters));
  EXPECT_FALSE(fs::exists(folder_ / "h.parts"));
}

TEST_F(BookTest, ReadsASavedSiteFromLocalFiles) {
  fs::create_directories(folder_ / fs::u8path("站/章节"));
  // Written through the wide file functions: a narrow stream name would lose the Chinese letters
  // on Windows.
  auto write = [&](const char* name, const std::string& bytes) {
    WriteFileBytes(bytes, (folder_ / fs::u8path(name)).u16string());
  };
  write("站/目录.html",
        "<html><head><title>存下的书</title></head><body>\n"
        "<a href=\"%E7%AB%A0%E8%8A%82/1.html\">第一章</a><a href=\"章节/2.html\">第二章</a>"
        "<a href=\"../elsewhere.html\">别处</a></body></html>\n");
  write("站/章节/1.html", Paragraphs("存下的第一章。"));
  write("站/章节/2.html", kBreakChapter);
  const ProcessResult result = Book({u"站/目录.html", u"-o", u"local.txt"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  BlockedWords none;
  const std::string first =
      TextToUtf8(ExtractParagraphs(Utf8BytesToText(Paragraphs("存下的第一章。")), none).value());
  EXPECT_EQ(Read("local.txt"),
            TextBook({{"第一章", first},
                      {"第二章", "　　换行第一段，还是第一段。\r\n　　第二段广告！\r\n　　\r\n"}}));
}

TEST_F(BookTest, ExtractTakesTheBreakBlockOnlyWithContentAuto) {
  std::ofstream(folder_ / "breaks.html", std::ios::binary) << kBreakChapter;
  const ProcessResult plain = test::RunProcess(
      HostPath(VELTRIN_CLI_EXE), {u"extract", u"breaks.html"}, "", folder_, folder_ / "scratch");
  EXPECT_EQ(plain.exit_code, 0) << plain.err;
  EXPECT_EQ(plain.out, "");
  const ProcessResult automatic = test::RunProcess(
      HostPath(VELTRIN_CLI_EXE), {u"extract", u"--content", u"auto", u"breaks.html"}, "", folder_,
      folder_ / "scratch");
  EXPECT_EQ(automatic.exit_code, 0) << automatic.err;
  EXPECT_EQ(automatic.out, "　　换行第一段，还是第一段。\r\n　　第二段广告！\r\n　　\r\n");
}

TEST_F(BookTest, UsageErrorsExitWithTwo) {
  const struct {
    std::vector<std::u16string> arguments;
    const char* fragment;
  } cases[] = {
      {{u"toc.html"}, "no book file given (-o BOOK)"},
      {{u"-o", u"b.txt"}, "no TOC given"},
      {{u"a.html", u"b.html", u"-o", u"b.txt"}, "more than one TOC"},
      {{u"t.html", u"-o", u"b.txt", u"--content", u"all"}, "'auto' or 'paragraphs'"},
      {{u"t.html", u"-o", u"b.txt", u"--format", u"pdf"}, "'txt' or 'epub'"},
      {{u"t.html", u"-o", u"b.txt", u"--per-host", u"0"}, "--per-host needs a number from 1"},
      {{u"t.html", u"-o", u"b.txt", u"--links", u"(x"}, "option --links: regex error"},
      {{u"t.html", u"-o", u"b.txt", u"--charset", u"klingon"}, "unknown charset"},
      {{u"t.html", u"-o", u"b.txt", u"-o", u"c.txt"}, "given twice"},
  };
  // A book that cannot be written is found before anything is fetched.
  const ProcessResult nowhere = Book({Url("/a/toc.html"), u"-o", u"missing/b.txt"});
  EXPECT_EQ(nowhere.exit_code, 4);
  EXPECT_NE(nowhere.err.find("no such folder"), std::string::npos) << nowhere.err;
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
  EXPECT_EQ(server_.Requests().size(), 1u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fragment);
    const ProcessResult result = Book(c.arguments);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_NE(result.err.find(c.fragment), std::string::npos) << result.err;
  }
}

// The entries of a ZIP archive, read front to back by their local headers.
struct ZipEntry {
  std::string name;
  int method = 0;
  std::string data;  // inflated
};

std::vector<ZipEntry> ReadZip(const std::string& archive) {
  auto u16 = [&](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(archive[at])) |
           static_cast<unsigned>(static_cast<unsigned char>(archive[at + 1])) << 8;
  };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  std::vector<ZipEntry> entries;
  std::size_t at = 0;
  while (at + 30 <= archive.size() && archive.compare(at, 4, "PK\x03\x04") == 0) {
    ZipEntry entry;
    entry.method = static_cast<int>(u16(at + 8));
    const std::size_t packed = u32(at + 18);
    const std::size_t size = u32(at + 22);
    const std::size_t name_length = u16(at + 26);
    entry.name = archive.substr(at + 30, name_length);
    const std::size_t data = at + 30 + name_length + u16(at + 28);
    if (entry.method == 0) {
      entry.data = archive.substr(data, packed);
    } else {
      entry.data.assign(size, '\0');
      z_stream stream{};
      inflateInit2(&stream, -15);
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(archive.data() + data));
      stream.avail_in = static_cast<uInt>(packed);
      stream.next_out = reinterpret_cast<Bytef*>(entry.data.data());
      stream.avail_out = static_cast<uInt>(size);
      if (inflate(&stream, Z_FINISH) != Z_STREAM_END) entry.data = "(bad deflate stream)";
      inflateEnd(&stream);
    }
    entries.push_back(std::move(entry));
    at = data + packed;
  }
  return entries;
}

// Returns an empty string when the document is well-formed XML as far as a book needs (balanced,
// properly nested elements, quoted attributes, known entities), else what is wrong.
std::string XmlFault(std::string_view xml) {
  std::vector<std::string> open;
  std::size_t i = 0;
  bool root_closed = false;
  while (i < xml.size()) {
    if (xml[i] == '&') {
      const std::size_t end = xml.find(';', i);
      const std::string_view entity =
          xml.substr(i, end == std::string_view::npos ? 1 : end - i + 1);
      if (entity != "&amp;" && entity != "&lt;" && entity != "&gt;" && entity != "&quot;" &&
          entity != "&apos;" && !entity.starts_with("&#")) {
        return "bad entity at " + std::to_string(i);
      }
      i += entity.size();
      continue;
    }
    if (xml[i] != '<') {
      if (xml[i] == '>') return "stray > at " + std::to_string(i);
      ++i;
      continue;
    }
    const std::size_t end = xml.find('>', i);
    if (end == std::string_view::npos) return "unclosed tag";
    std::string_view tag = xml.substr(i + 1, end - i - 1);
    i = end + 1;
    if (tag.starts_with('?') || tag.starts_with('!')) continue;
    if (root_closed) return "content after the root element";
    if (tag.starts_with('/')) {
      if (open.empty() || open.back() != tag.substr(1)) return "mismatched </" + std::string(tag);
      open.pop_back();
      root_closed = open.empty();
      continue;
    }
    const bool empty = tag.ends_with('/');
    if (empty) tag.remove_suffix(1);
    const std::string name(tag.substr(0, tag.find_first_of(" \t\n")));
    if (std::count(tag.begin(), tag.end(), '"') % 2 != 0) return "unbalanced quotes in <" + name;
    if (!empty) open.push_back(name);
  }
  return open.empty() && root_closed ? "" : "unclosed elements";
}

TEST_F(BookTest, WritesAValidEpub) {
  const ProcessResult result = Book({Url("/a/toc.html"), u"-o", u"book.epub"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::string archive = Read("book.epub");
  // The mimetype comes first, stored, at the very start of the archive.
  ASSERT_GT(archive.size(), 58u);
  EXPECT_EQ(archive.substr(30, 28), "mimetypeapplication/epub+zip");
  const std::vector<ZipEntry> entries = ReadZip(archive);
  std::map<std::string, std::string> files;
  for (const ZipEntry& entry : entries) files[entry.name] = entry.data;
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries[0].name, "mimetype");
  EXPECT_EQ(entries[0].method, 0);
  EXPECT_NE(files["META-INF/container.xml"].find("full-path=\"OEBPS/content.opf\""),
            std::string::npos);
  const std::string& package = files["OEBPS/content.opf"];
  EXPECT_NE(package.find("<dc:title>测试之书</dc:title>"), std::string::npos) << package;
  EXPECT_NE(package.find("<dc:language>zh</dc:language>"), std::string::npos);
  EXPECT_NE(package.find("properties=\"nav\""), std::string::npos);
  const std::size_t first = package.find("<itemref idref=\"chapter-00001\"/>");
  const std::size_t fourth = package.find("<itemref idref=\"chapter-00004\"/>");
  EXPECT_TRUE(first != std::string::npos && fourth != std::string::npos && first < fourth);
  const std::string& nav = files["OEBPS/nav.xhtml"];
  std::size_t at = 0;
  for (const char* title : {"第一章 段落", "第二章 换行", "第三章 三页", "第四章 重试"}) {
    const std::size_t found = nav.find(title, at);
    ASSERT_NE(found, std::string::npos) << title << " in order in\n" << nav;
    at = found;
  }
  int documents = 0;
  for (const auto& [name, data] : files) {
    if (!name.ends_with(".xhtml") && !name.ends_with(".opf") && !name.ends_with(".xml")) continue;
    ++documents;
    EXPECT_EQ(XmlFault(data), "") << name << "\n" << data;
  }
  EXPECT_EQ(documents, 4 + 3);
  EXPECT_NE(files["OEBPS/chapter-00002.xhtml"].find("<p>　　第二段广告！</p>"), std::string::npos);
}

}  // namespace
}  // namespace veltrin
