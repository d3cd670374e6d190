// The Extract command with fake collaborators: what is settled before the read, what is called in
// which order, how the page is decoded, and what the result box gets.
#include "core/extract_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/utf8.h"
#include "tests/core/support/loopback_http_server.h"
#include "common/run_time_error.h"

namespace veltrin {
namespace {

constexpr char kPage[] = "<html>\n<p>第一句。</p>\n<p>广告第二句！</p>\n</html>\n";

// Records every call into one log, so the order of the steps can be checked.
struct Log {
  std::vector<std::string> calls;
};

// Hands the bytes over in two pieces with progress after each, as a download does.
void HandOver(const std::string& bytes, const PageSink& sink) {
  const size_t half = bytes.size() / 2;
  sink.piece(std::string_view(bytes).substr(0, half));
  if (sink.progress) sink.progress(half, bytes.size());
  sink.piece(std::string_view(bytes).substr(half));
  if (sink.progress) sink.progress(bytes.size(), bytes.size());
}

class FakeFetcher : public PageFetcher {
 public:
  explicit FakeFetcher(Log& log) : log_(log) {}
  void Fetch(const std::u16string& address, const PageSink& sink) override {
    log_.calls.push_back("fetch " + TextToUtf8(address));
    if (failure) throw HttpError(*failure);
    if (sink.content_type) sink.content_type(content_type);
    HandOver(body, sink);
  }
  std::string body = kPage;
  std::string content_type = "text/html";
  std::optional<std::string> failure;

 private:
  Log& log_;
};

class FakeFiles : public FileSearch {
 public:
  explicit FakeFiles(Log& log) : log_(log) {}
  std::u16string FindFileEntry(const std::u16string& path, int attributes) override {
    log_.calls.push_back("find " + TextToUtf8(path) + " " + std::to_string(attributes));
    if (find_error) throw RunTimeError(*find_error, u"Bad file name or number");
    return files.count(path) ? u"page.html" : u"";
  }
  void ReadFile(const std::u16string& path, const PageSink& sink) override {
    log_.calls.push_back("read " + TextToUtf8(path));
    if (read_error) throw RunTimeError(75, u"cannot read");
    HandOver(files.at(path), sink);
  }
  std::map<std::u16string, std::string> files;
  std::optional<int> find_error;
  bool read_error = false;

 private:
  Log& log_;
};

class ExtractCommandTest : public testing::Test {
 public:
  // Starts the run and, when it needs a read, reads as the worker does.
  ExtractOutcome Run(const std::u16string& source, std::vector<std::u16string> items = {}) {
    auto started = command_.Start(source, items);
    if (auto* outcome = std::get_if<ExtractOutcome>(&started)) return *outcome;
    const auto progress = [this](uint64_t received, uint64_t total) {
      log_.calls.push_back("progress " + std::to_string(received) + "/" + std::to_string(total));
    };
    return ReadAndExtract(std::get<PageRequest>(started), fetcher_, files_, progress,
                          cancellation_);
  }
  std::u16string Expected(std::vector<std::u16string> items = {}) {
    BlockedWords words;
    words.Rebuild(items);
    return *ExtractParagraphs(Utf8BytesToText(kPage), words);
  }

  Log log_;
  FakeFetcher fetcher_{log_};
  FakeFiles files_{log_};
  std::shared_ptr<Cancellation> cancellation_ = std::make_shared<Cancellation>();
  ExtractCommand command_{files_};
};

using Kind = ExtractOutcome::Kind;

TEST_F(ExtractCommandTest, EmptySourceDoesNothingAndKeepsTheWords) {
  Run(u"http://a/", {u"甲"});
  log_.calls.clear();
  ExtractOutcome outcome = Run(u"", {u"乙"});
  EXPECT_EQ(outcome.kind, Kind::kUnchanged);
  EXPECT_TRUE(log_.calls.empty());
  EXPECT_EQ(command_.Words().Words(), std::vector<std::u16string>{u"甲"});
}

TEST_F(ExtractCommandTest, WebAddressIsFetchedWithProgress) {
  ExtractOutcome outcome = Run(u"https://example.test/a", {u"广告"});
  const std::string total = std::to_string(sizeof(kPage) - 1);
  const std::string half = std::to_string((sizeof(kPage) - 1) / 2);
  EXPECT_EQ(log_.calls, (std::vector<std::string>{"fetch https://example.test/a",
                                                  "progress " + half + "/" + total,
                                                  "progress " + total + "/" + total}));
  ASSERT_EQ(outcome.kind, Kind::kResult);
  EXPECT_EQ(outcome.text, Expected({u"广告"}));
  EXPECT_EQ(outcome.text.find(u"广告"), std::u16string::npos);
}

TEST_F(ExtractCommandTest, UpperCaseSchemeIsALocalPath) {
  EXPECT_EQ(Run(u"HTTP://example.test/").kind, Kind::kUnchanged);
  EXPECT_EQ(log_.calls, std::vector<std::string>{"find HTTP://example.test/ 0"});
}

TEST_F(ExtractCommandTest, LocalPathIsFoundWithAttributesZeroThenRead) {
  files_.files[u"C:\\页面\\章节.html"] = kPage;
  ExtractOutcome outcome = Run(u"C:\\页面\\章节.html");
  ASSERT_GE(log_.calls.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(log_.calls.begin(), log_.calls.begin() + 2),
            (std::vector<std::string>{"find C:\\页面\\章节.html 0", "read C:\\页面\\章节.html"}));
  ASSERT_EQ(outcome.kind, Kind::kResult);
  EXPECT_EQ(outcome.text, Expected());
}

TEST_F(ExtractCommandTest, MissingLocalFileStopsSilently) {
  ExtractOutcome outcome = Run(u"C:\\missing.html");
  EXPECT_EQ(outcome.kind, Kind::kUnchanged);
  EXPECT_TRUE(outcome.text.empty());
  EXPECT_EQ(log_.calls, std::vector<std::string>{"find C:\\missing.html 0"});
}

TEST_F(ExtractCommandTest, PageWithoutLineBreakOrParagraphKeepsTheBox) {
  fetcher_.body = "just text";
  EXPECT_EQ(Run(u"http://a/").kind, Kind::kUnchanged);
}

TEST_F(ExtractCommandTest, ACancelledReadStopsSilentlyAndKeepsTheBox) {
  cancellation_->Cancel();
  EXPECT_EQ(Run(u"http://a/").kind, Kind::kUnchanged);
  fetcher_.failure = "the connection was reset";  // a transfer cut short by the cancel
  EXPECT_EQ(Run(u"http://a/").kind, Kind::kUnchanged);
}

// The page is decoded as `--charset auto` does: the Content-Type, else the declaration, and
// well-formed UTF-8 stays UTF-8 whatever it declares.
TEST_F(ExtractCommandTest, PagesInOtherCharsetsAreDecodedByTheAutoRule) {
  const std::string gbk = "<p>\xB5\xDA\xD2\xBB\xBE\xE4\xA1\xA3</p>\n";  // <p>第一句。</p>
  const std::u16string expected = *ExtractParagraphs(u"<p>第一句。</p>\n", BlockedWords());
  const struct {
    const char* content_type;
    std::string body;
  } rows[] = {
      {"text/html; charset=GBK", "<html>\n" + gbk},
      {"text/html", "<html><meta charset=\"gb2312\">\n" + gbk},
      {"text/html", "<html><meta charset=\"gbk\">\n<p>第一句。</p>\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.body);
    fetcher_.content_type = row.content_type;
    fetcher_.body = row.body;
    const ExtractOutcome outcome = Run(u"http://a/");
    ASSERT_EQ(outcome.kind, Kind::kResult);
    EXPECT_EQ(outcome.text, expected);
  }
}

TEST_F(ExtractCommandTest, FailuresSayWhatFailedAndKeepTheBox) {
  struct Case {
    const char* name;
    void (*arrange)(ExtractCommandTest&);
    std::u16string source;
    std::u16string message_start;
    std::u16string message_part;
  };
  const std::vector<Case> cases = {
      {"transfer failure", [](ExtractCommandTest& t) { t.fetcher_.failure = "connection refused"; },
       u"http://127.0.0.1:9/", u"无法下载 http://127.0.0.1:9/", u"connection refused"},
      {"HTTP status", [](ExtractCommandTest& t) { t.fetcher_.failure = "HTTP 404 Not Found"; },
       u"http://a/x", u"无法下载 http://a/x", u"HTTP 404 Not Found"},
      {"empty body", [](ExtractCommandTest& t) { t.fetcher_.body.clear(); }, u"http://a/empty",
       u"下载的页面是空的", u"http://a/empty"},
      {"error 52", [](ExtractCommandTest& t) { t.files_.find_error = 52; }, u"C:\\bad|name.html",
       u"无法查找文件 C:\\bad|name.html", u"52"},
      {"unreadable file",
       [](ExtractCommandTest& t) {
         t.files_.files[u"C:\\a.html"] = "";
         t.files_.read_error = true;
       },
       u"C:\\a.html", u"无法读取文件 C:\\a.html", u"75"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fetcher_.failure.reset();
    fetcher_.body = kPage;
    files_.files.clear();
    files_.find_error.reset();
    files_.read_error = false;
    c.arrange(*this);
    ExtractOutcome outcome = Run(c.source);
    ASSERT_EQ(outcome.kind, Kind::kFailed);
    EXPECT_EQ(outcome.text.rfind(c.message_start, 0), 0u) << TextToUtf8(outcome.text);
    EXPECT_NE(outcome.text.find(c.message_part), std::u16string::npos) << TextToUtf8(outcome.text);
  }
}

}  // namespace
}  // namespace veltrin

namespace veltrin {
namespace {

// The real download client and file routines behind the command.
TEST(ExtractCommandSystemTest, DownloadsFromLoopbackAndReportsAnErrorStatus) {
  test::LoopbackHttpServer server([](const test::HttpRequest& request) {
    if (request.path == "/missing") return test::MakeReply(404, "Not Found", "gone");
    return test::MakeReply(200, "OK", kPage);
  });
  HttpPageFetcher fetcher;
  SystemFileSearch files;
  ExtractCommand command(files);
  const auto cancellation = std::make_shared<Cancellation>();
  const auto run = [&](const std::string& path) {
    auto started = command.Start(Utf8BytesToText(server.Url(path)), {});
    return ReadAndExtract(std::get<PageRequest>(started), fetcher, files, {}, cancellation);
  };

  ExtractOutcome page = run("/page");
  ASSERT_EQ(page.kind, ExtractOutcome::Kind::kResult);
  EXPECT_EQ(page.text, *ExtractParagraphs(Utf8BytesToText(kPage), command.Words()));

  ExtractOutcome missing = run("/missing");
  ASSERT_EQ(missing.kind, ExtractOutcome::Kind::kFailed);
  EXPECT_NE(TextToUtf8(missing.text).find("HTTP 404"), std::string::npos);
}

}  // namespace
}  // namespace veltrin
