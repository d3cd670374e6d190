// The command run in-process with streams of its own: several sources, their order with -j, the
// output folder, charsets, and what each kind of failure leaves behind.
#include "cli/run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/pipeline.h"
#include "core/utf8.h"
#include "core/page_decoder.h"
#include "cli/extraction_batch.h"
#include "cli/result_output.h"
#include "tests/core/support/loopback_http_server.h"
#ifdef _WIN32
#include <windows.h>
#else
#include "tests/core/support/small_mount_posix.h"
#endif

namespace veltrin::cli {
namespace {

namespace fs = std::filesystem;

// Standard streams in memory.
class FakeStreams : public StandardStreams {
 public:
  bool ReadInput(char* buffer, std::size_t capacity, std::size_t* got,
                 Cancellation* cancellation) override {
    if (read == input.size() && stall_at_end) {
      // Like a producer that stops writing: wait for a cancellation (bounded), then report it.
      stalled = true;
      std::unique_lock<std::mutex> lock(mutex_);
      std::optional<Cancellation::Registration> registration;
      if (cancellation != nullptr) {
        registration.emplace(*cancellation, [this] {
          std::lock_guard<std::mutex> inner(mutex_);
          cancelled = true;
          woken_.notify_all();
        });
      }
      woken_.wait_for(lock, std::chrono::seconds(20), [this] { return cancelled; });
      return !cancelled;
    }
    *got = std::min(capacity, input.size() - read);
    std::copy_n(input.data() + read, *got, buffer);
    read += *got;
    return true;
  }
  bool WriteOutput(std::string_view bytes) override {
    out.append(bytes);
    return !output_broken;
  }
  void WriteError(std::u16string_view text) override { err += TextToUtf8(text); }
  bool ErrorIsTerminal() override { return false; }

  std::string input;                 // what standard input holds
  std::size_t read = 0;              // how much of it was read
  std::string out;                   // standard output
  std::string err;                   // standard error, UTF-8
  bool output_broken = false;        // whether writing standard output fails
  bool stall_at_end = false;         // whether the input waits at its end instead of ending
  std::atomic<bool> stalled{false};  // the input has started waiting
  bool cancelled = false;            // the wait was cancelled

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
};

std::string Page(const std::string& sentence) {
  return "<html><body>\n<p class=\"a\">&nbsp;&nbsp;" + sentence + "</p>\n<p>广告《甲》《乙》</p>\n";
}

// The result the pipeline gives for a page's UTF-8 text.
std::string Expected(const std::string& page, const std::vector<std::u16string>& words = {}) {
  BlockedWords blocked;
  blocked.Rebuild(words);
  return TextToUtf8(ExtractParagraphs(Utf8BytesToText(page), blocked).value());
}

std::string FromHex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return bytes;
}

// Returns whether this system converts from the charset. Linux's iconv knows every one of the
// table; Wine lacks GB18030 (code page 54936), and a Windows without it refuses it clearly.
bool PlatformConverts(const char* name) {
  try {
    MakePageDecoder(FindCharset(name).value(), false);
    return true;
  } catch (const std::runtime_error&) {
#ifndef _WIN32
    ADD_FAILURE() << "iconv cannot convert from " << name;
#endif
    return false;
  }
}

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (std::string("veltrin_run_") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // Writes a file under the test's folder and returns its full path as an argument.
  std::u16string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_ / fs::u8path(name);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.u16string();
  }
  std::u16string Path(const std::string& name) const {
    return (folder_ / fs::u8path(name)).u16string();
  }
  std::string Read(const std::string& name) const {
    std::ifstream stream(folder_ / fs::u8path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
  }
  std::vector<std::string> FolderEntries(const std::string& name) const {
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder_ / name)) {
      entries.push_back(entry.path().filename().string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
  }

  int Run(std::vector<std::u16string> arguments) {
    arguments.insert(arguments.begin(), u"extract");
    return cli::Run(arguments, streams_);
  }

  fs::path folder_;
  FakeStreams streams_;
};

TEST_F(RunTest, SourcesGoOneAfterAnotherAndAMissingOneIsReported) {
  const std::u16string a = Write("a.html", Page("一。"));
  const std::u16string b = Write("b.html", Page("二。"));
  EXPECT_EQ(Run({a, Path("missing.html"), b, u"-j", u"1"}), kSourceUnreadable);
  EXPECT_EQ(streams_.out, Expected(Page("一。")) + Expected(Page("二。")));
  EXPECT_NE(streams_.err.find("missing.html': no such file"), std::string::npos) << streams_.err;
}

TEST_F(RunTest, ParallelJobsKeepTheOrderOfResultsAndMessages) {
  std::vector<std::u16string> sources;
  std::string expected;
  for (int i = 0; i < 24; ++i) {
    const std::string page = Page(std::string(i * 500, 'x') + std::to_string(i) + "。");
    sources.push_back(Write(std::string("p") += std::to_string(i) + ".html", page));
    expected += Expected(page);
    if (i % 7 == 3) sources.push_back(Path(std::string("gone") += std::to_string(i) + ".html"));
  }
  sources.push_back(u"--jobs=4");
  EXPECT_EQ(Run(sources), kSourceUnreadable);
  EXPECT_TRUE(streams_.out == expected);
  EXPECT_LT(streams_.err.find("gone3.html"), streams_.err.find("gone10.html"));
  EXPECT_LT(streams_.err.find("gone10.html"), streams_.err.find("gone17.html"));
}

TEST_F(RunTest, TheWorstStatusWinsAndStandardInputIsOneSource) {
  streams_.input = "\xEF\xBB\xBF" + Page("入。");
  const std::u16string flat = Write("flat.html", "no line break");
  EXPECT_EQ(Run({flat, u"-"}), kNoParagraphText);
  EXPECT_EQ(streams_.out, Expected(Page("入。")));
  EXPECT_NE(streams_.err.find("no paragraph text in"), std::string::npos);
}

TEST_F(RunTest, AnOutputFileGetsTheOthersOrStaysUntouched) {
  const std::u16string a = Write("a.html", Page("一。"));
  const std::u16string out = Write("out.txt", "old");
  EXPECT_EQ(Run({u"-o", out, Path("missing.html"), a}), kSourceUnreadable);
  EXPECT_EQ(Read("out.txt"), Expected(Page("一。")));

  Write("out.txt", "old");
  EXPECT_EQ(Run({u"-o", out, Path("missing.html")}), kSourceUnreadable);
  EXPECT_EQ(Read("out.txt"), "old");
  EXPECT_EQ(FolderEntries(""), (std::vector<std::string>{"a.html", "out.txt"}));  // no leftovers
}

TEST_F(RunTest, ABrokenStandardOutputStopsWithFour) {
  streams_.output_broken = true;
  const std::u16string a = Write("a.html", Page("一。"));
  EXPECT_EQ(Run({a, a, a}), kOutputFailed);
  EXPECT_NE(streams_.err.find("cannot write the result to standard output"), std::string::npos);

  // One large source read ahead on its own thread: the reading stops too, and nothing hangs.
  std::string big;
  for (int i = 0; i < 20000; ++i) big += Page("很长的一段文字。");
  const std::u16string large = Write("large.html", big);
  for (const char16_t* jobs : {u"1", u"2"}) {
    streams_.err.clear();
    EXPECT_EQ(Run({u"-j", jobs, large}), kOutputFailed);
    EXPECT_NE(streams_.err.find("cannot write the result to standard output"), std::string::npos);
  }
}

// A file that fails on its second write, as a disk fills after the first result.
class FailingSecondWrite : public CommittingSink {
 public:
  void Write(std::string_view) override {
    if (++writes == 2) throw OutputError("disk full");
  }
  void Commit() override { committed = true; }
  int writes = 0;
  bool committed = false;
};

TEST_F(RunTest, AFailedOutputFileIsNeverCommitted) {
  const std::u16string a = Write("a.html", Page("一。"));
  for (unsigned jobs : {1u, 3u}) {
    FailingSecondWrite file;
    EXPECT_EQ(ExtractToReplacedFile({a, a, a}, ExtractionSettings{}, jobs, file, streams_),
              kOutputFailed);
    EXPECT_EQ(file.writes, 2);
    EXPECT_FALSE(file.committed);
  }
}

#ifndef _WIN32
TEST_F(RunTest, AFullFileSystemLeavesTheOldOutputFile) {
  test::SmallMount disk(folder_ / "disk", 256 << 10);
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
  std::string big;  // each result takes more than half of the file system
  for (int i = 0; i < 3000; ++i) big += Page("很长的一段文字。");
  const std::u16string a = Write("a.html", big);
  const std::u16string out = Write("disk/out.txt", "old");
  EXPECT_EQ(Run({u"-o", out, a, a, a}), kOutputFailed);
  EXPECT_TRUE(Read("disk/out.txt") == "old");
  EXPECT_EQ(FolderEntries("disk"), (std::vector<std::string>{"out.txt"}));
}
#endif

TEST_F(RunTest, OneLargeSourceGivesTheSameResultReadAheadOrNot) {
  std::string big;
  for (int i = 0; i < 5000; ++i) big += Page(std::to_string(i) + "段。");
  const std::u16string large = Write("large.html", big);
  const std::string expected = Expected(big);
  for (const char16_t* jobs : {u"1", u"2"}) {
    streams_.out.clear();
    EXPECT_EQ(Run({u"-j", jobs, large}), kResultProduced);
    EXPECT_TRUE(streams_.out == expected);
  }
  EXPECT_EQ(Run({u"-j", u"2", Path("missing.html")}), kSourceUnreadable);
}

TEST_F(RunTest, AnOutputFolderGetsOneFileePerSourceWithoutOverwriting) {
  const std::u16string first = Write("one/page.html", Page("一。"));
  const std::u16string second = Write("two/page.html", Page("二。"));
  const std::u16string third = Write("two/PAGE.htm", Page("三。"));
  const std::u16string flat = Write("flat.html", "no line break");
  fs::create_directories(folder_ / "out");
  EXPECT_EQ(Run({u"--output-dir", Path("out"), first, second, third, flat}), kNoParagraphText);
  EXPECT_EQ(FolderEntries("out"),
            (std::vector<std::string>{"PAGE-3.txt", "page-2.txt", "page.txt"}));
  EXPECT_EQ(Read("out/page.txt"), Expected(Page("一。")));
  EXPECT_EQ(Read("out/page-2.txt"), Expected(Page("二。")));
  EXPECT_EQ(Read("out/PAGE-3.txt"), Expected(Page("三。")));
  EXPECT_EQ(streams_.out, "");
}

TEST_F(RunTest, AMissingOrUnusableOutputFolderExitsWithFourBeforeReading) {
  const std::u16string a = Write("a.html", Page("一。"));
  Write("file", "x");
  for (const std::string folder : {"nowhere", "file"}) {
    SCOPED_TRACE(folder);
    streams_.err.clear();
    EXPECT_EQ(Run({u"--output-dir", Path(folder), a}), kOutputFailed);
    EXPECT_NE(streams_.err.find(folder), std::string::npos) << streams_.err;
  }
  EXPECT_FALSE(fs::exists(folder_ / "nowhere"));
  EXPECT_EQ(FolderEntries(""), (std::vector<std::string>{"a.html", "file"}));
}

TEST_F(RunTest, ChinesePagesDecodeFromTheirCharsets) {
  const std::string utf8_page = "<p>第一句，中文。</p>\n";
  const struct {
    const char* charset;
    std::string bytes;
  } cases[] = {
      {"GBK", FromHex("3c703eb5dad2bbbee4a3acd6d0cec4a1a33c2f703e0a")},
      {"gb2312", FromHex("3c703eb5dad2bbbee4a3acd6d0cec4a1a33c2f703e0a")},
      {"GB18030", FromHex("3c703eb5dad2bbbee4a3acd6d0cec4a1a33c2f703e0a")},
      {"big5", FromHex("3c703eb2c4a440a579a141a4a4a4e5a1433c2f703e0a")},
      {"utf-8", utf8_page},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.charset);
    streams_.out.clear();
    const std::u16string page = Write("page.html", c.bytes);
    const int status = Run({u"--charset", Utf8BytesToText(c.charset), page});
    if (!PlatformConverts(c.charset)) {
      EXPECT_EQ(status, kUsageError);
      EXPECT_NE(streams_.err.find("this system cannot convert from"), std::string::npos);
      continue;
    }
    EXPECT_EQ(status, kResultProduced) << streams_.err;
    EXPECT_EQ(streams_.out, Expected(utf8_page));
  }
}

TEST_F(RunTest, InvalidGbkBytesBecomeReplacementCharacters) {
  // A lead byte before a byte that cannot follow it, and a lead byte cut off at the end: each is
  // one replacement character, and the text around them is kept.
  const std::u16string page = Write("page.html",
                                    "<p>a\x81"
                                    "1c\xD6\xD0</p>\n<p>\xD6");
  EXPECT_EQ(Run({u"--charset=gbk", page}), kResultProduced) << streams_.err;
  EXPECT_NE(streams_.out.find("a\xEF\xBF\xBD"
                              "1c中"),
            std::string::npos)
      << streams_.out;
  EXPECT_TRUE(streams_.out.ends_with("\xEF\xBF\xBD\r\n")) << streams_.out;
}

TEST_F(RunTest, PlatformDecodersGiveTheSameTextWhereverThePiecesAreCut) {
  // GBK two-byte characters and a GB18030 four-byte one (a surrogate pair once decoded).
  const struct {
    const char* charset;
    std::string bytes;
  } cases[] = {
      {"GBK", FromHex("61d6d0cec462b5dad2bb")},
      {"GB18030", FromHex("d6d09532823661a2e3")},
      {"Big5", FromHex("c163c5e9a14361")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.charset);
    if (!PlatformConverts(c.charset)) continue;
    const Charset charset = FindCharset(c.charset).value();
    std::u16string whole;
    {
      auto decoder = MakePageDecoder(charset, false);
      decoder->Decode(c.bytes, whole);
      decoder->Finish(whole);
    }
    EXPECT_EQ(whole.find(u'\uFFFD'), std::u16string::npos);
    for (std::size_t cut = 0; cut <= c.bytes.size(); ++cut) {
      auto decoder = MakePageDecoder(charset, false);
      std::u16string text;
      decoder->Decode(std::string_view(c.bytes).substr(0, cut), text);
      decoder->Decode(std::string_view(c.bytes).substr(cut), text);
      decoder->Finish(text);
      EXPECT_EQ(text, whole) << "cut at " << cut;
    }
  }
}

TEST_F(RunTest, AutoFindsTheCharsetOrFallsBackToUtf8) {
  const std::string gbk_body = FromHex("3c703eb5dad2bbbee4a3acd6d0cec4a1a33c2f703e0a");
  const std::string utf8_body = "<p>第一句，中文。</p>\n";
  const std::string expected = Expected(utf8_body);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"meta charset", "<meta charset=\"gbk\">\n" + gbk_body},
      {"http-equiv",
       "<META HTTP-EQUIV='Content-Type' CONTENT='text/html; charset=GB2312'>\n" + gbk_body},
      {"UTF-8 mark", "\xEF\xBB\xBF" + utf8_body},
      {"nothing declared", utf8_body},
      {"wrong declaration", "<meta charset=\"gbk\">\n" + utf8_body},
      {"unknown declaration", "<meta charset=\"x-klingon\">\n" + utf8_body},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    streams_.out.clear();
    EXPECT_EQ(Run({u"--charset", u"auto", Write("page.html", c.bytes)}), kResultProduced);
    EXPECT_EQ(streams_.out, expected);
  }
  // UTF-16 by its byte-order mark.
  std::string utf16 = "\xFF\xFE";
  for (char16_t unit : Utf8BytesToText(utf8_body)) {
    utf16 += static_cast<char>(unit & 0xFF);
    utf16 += static_cast<char>(unit >> 8);
  }
  streams_.out.clear();
  EXPECT_EQ(Run({u"--charset", u"auto", Write("page.html", utf16)}), kResultProduced);
  EXPECT_EQ(streams_.out, expected);
}

TEST_F(RunTest, AutoReadsTheContentTypeOfADownload) {
  const std::string gbk_body = FromHex("3c703eb5dad2bbbee4a3acd6d0cec4a1a33c2f703e0a");
  test::LoopbackHttpServer server([&](const test::HttpRequest&) {
    return test::MakeReply(200, "OK", gbk_body, {{"Content-Type", "text/html; charset=GBK"}});
  });
#ifndef _WIN32
  setenv("no_proxy", "127.0.0.1", 1);
#endif
  EXPECT_EQ(Run({u"--charset", u"auto", Utf8BytesToText(server.Url("/a"))}), kResultProduced)
      << streams_.err;
  EXPECT_EQ(streams_.out, Expected("<p>第一句，中文。</p>\n"));
  // Without auto the body is UTF-8, as always.
  streams_.out.clear();
  EXPECT_EQ(Run({Utf8BytesToText(server.Url("/a"))}), kResultProduced);
  EXPECT_EQ(streams_.out, Expected(gbk_body));
}

TEST_F(RunTest, ADownloadCutHalfWayAddsNothingToStandardOutput) {
  std::string body;
  for (int i = 0; i < 2000; ++i) body += Page("很长的一段文字。");
  test::LoopbackHttpServer server([&](const test::HttpRequest&) {
    // The answer announces twice the body it sends, then the connection closes.
    return test::HttpReply{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(2 * body.size()) +
                           "\r\nConnection: close\r\n\r\n" + body};
  });
#ifndef _WIN32
  setenv("no_proxy", "127.0.0.1", 1);
#endif
  for (const char16_t* jobs : {u"1", u"2"}) {
    streams_.out.clear();
    EXPECT_EQ(Run({u"-j", jobs, Utf8BytesToText(server.Url("/cut"))}), kSourceUnreadable);
    EXPECT_EQ(streams_.out.size(), 0u);
  }
}

TEST_F(RunTest, AFailedOutputCancelsTheReadAhead) {
#ifdef _WIN32
  // Windows abandons a blocked WinHTTP call once its request is closed; Wine finishes it only at
  // the time-out (60 s). HttpClientTest covers the cancellation there with a short time-out.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr) {
    GTEST_SKIP() << "Wine's WinHTTP does not abandon a blocked read when the request is closed";
  }
#endif
  // About one flush of result text: the first write comes with the last pieces of the part.
  std::string part;
  for (int i = 0; i < 2000; ++i) part += Page("很长的一段文字。");
  test::LoopbackHttpServer server([&](const test::HttpRequest&) {
    // Part of the answer, then nothing more for far longer than the test waits.
    test::HttpReply reply{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(2 * part.size()) +
                          "\r\n\r\n" + part};
    reply.hold_ms = 60000;
    return reply;
  });
#ifndef _WIN32
  setenv("no_proxy", "127.0.0.1", 1);
#endif
  // The output fails once the reader has taken all there is and waits for more.
  class FailingOnceAllIsSent : public CommittingSink {
   public:
    explicit FailingOnceAllIsSent(const test::LoopbackHttpServer& server) : server_(server) {}
    void Write(std::string_view) override {
      for (int i = 0; i < 500 && !server_.Holding(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      throw OutputError("disk full");
    }
    void Commit() override {}

   private:
    const test::LoopbackHttpServer& server_;
  } file(server);
  EXPECT_EQ(ExtractToReplacedFile({Utf8BytesToText(server.Url("/part"))}, ExtractionSettings{}, 2,
                                  file, streams_),
            kOutputFailed);
  EXPECT_TRUE(server.Holding());  // the run did not wait for the stalled download
}

TEST_F(RunTest, AFailedOutputCancelsAStandardInputThatWaits) {
  for (int i = 0; i < 2000; ++i) streams_.input += Page("很长的一段文字。");
  streams_.stall_at_end = true;
  // The output fails once the reader waits for more input.
  class FailingOnceInputWaits : public CommittingSink {
   public:
    explicit FailingOnceInputWaits(const FakeStreams& streams) : streams_(streams) {}
    void Write(std::string_view) override {
      for (int i = 0; i < 1000 && !streams_.stalled; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      throw OutputError("disk full");
    }
    void Commit() override {}

   private:
    const FakeStreams& streams_;
  } file(streams_);
  EXPECT_EQ(ExtractToReplacedFile({u"-"}, ExtractionSettings{}, 2, file, streams_), kOutputFailed);
  EXPECT_TRUE(streams_.cancelled);
}

TEST(HeldResultSink, HandsOnTheWholeResultFromMemoryOrFromTheScratchFile) {
  class Collected : public ByteSink {
   public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
  };
  std::string result;
  for (int i = 0; i < 30000; ++i) result += std::to_string(i) + "段\r\n";
  for (std::size_t limit : {std::size_t{1} << 30, std::size_t{1000}}) {
    Collected target;
    HeldResultSink held(target, limit);
    for (std::size_t at = 0; at < result.size(); at += 777) held.Write(result.substr(at, 777));
    EXPECT_TRUE(target.text.empty());
    held.Commit();
    EXPECT_TRUE(target.text == result) << limit;
  }
}

TEST(Utf8ResultEncoder, APairCutInTwoIsStillOneCharacter) {
  class Bytes : public ByteSink {
   public:
    void Write(std::string_view bytes) override { text += bytes; }
    std::string text;
  } sink;
  Utf8ResultEncoder encoder(sink);
  encoder.Write(u"a\xD840");
  encoder.Write(
      u"\xDC00"
      u"b\xD840");
  encoder.Finish();
  EXPECT_EQ(sink.text,
            "a\xF0\xA0\x80\x80"
            "b\xEF\xBF\xBD");
}

}  // namespace
}  // namespace veltrin::cli
