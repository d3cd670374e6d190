// The veltrin command run as a program: exit statuses, the exact result bytes and the one-line
// messages for each kind of bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/pipeline.h"
#include "core/text_file.h"
#include "core/utf8.h"
#include "cli/word_list.h"
#include "tests/cli/support/process_runner.h"
#include "tests/core/support/loopback_http_server.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace veltrin {
namespace {

namespace fs = std::filesystem;
using test::ProcessResult;

const std::string kPage =
    "<html><head><title>t</title></head><body>\n"
    "<p class=\"a\">&nbsp;&nbsp;第一句，\n第二句。</p>\n"
    "<p>广告《甲》《乙》好?</p>\n"
    "</body></html>\n";

// Returns a build-time path as this process sees it: under Wine the Unix root is drive Z:.
fs::path HostPath(std::string path) {
#ifdef _WIN32
  if (path.starts_with('/')) path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
#endif
  return fs::u8path(path);
}

// The result the pipeline gives for a page and word list, computed in this process.
std::string Expected(const std::string& page_bytes, const std::vector<std::u16string>& words = {}) {
  BlockedWords blocked;
  blocked.Rebuild(words);
  std::string_view bytes = page_bytes;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return TextToUtf8(ExtractParagraphs(Utf8BytesToText(bytes), blocked).value());
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (std::string("veltrin_cli_") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "scratch");
#ifndef _WIN32
    setenv("no_proxy", "127.0.0.1", 1);
#endif
  }
  void TearDown() override {
    if (folder_.empty()) return;  // skipped before SetUp made it
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // Writes a file in the test's folder; the name is UTF-8.
  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_ / fs::u8path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::u16string Arg(const fs::path& path) {
    return path.u16string();
  }

  ProcessResult Run(const std::vector<std::u16string>& arguments, const std::string& input = "") {
    return test::RunProcess(HostPath(VELTRIN_CLI_EXE), arguments, input, folder_,
                            folder_ / "scratch");
  }

  fs::path folder_;  // a fresh folder per test, also the child's working folder
};

// Checks a failure: the status, nothing on standard output, and one "veltrin: " line naming it.
void ExpectFailure(const ProcessResult& result, int status, const std::string& fragment) {
  EXPECT_EQ(result.exit_code, status);
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(result.err.starts_with("veltrin: ")) << result.err;
  EXPECT_NE(result.err.find(fragment), std::string::npos) << result.err;
  EXPECT_TRUE(result.err.ends_with("\n")) << result.err;
}

TEST_F(CliTest, HelpAndVersion) {
  const ProcessResult help = Run({u"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: veltrin extract [options] SOURCE...\n"));
  EXPECT_EQ(Run({u"extract", u"-h", u"x"}).exit_code, 0);
  const ProcessResult version = Run({u"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.out.starts_with("veltrin ")) << version.out;
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  const struct {
    std::vector<std::u16string> arguments;
    const char* fragment;
  } cases[] = {
      {{}, "no command given"},
      {{u"frobnicate", u"x"}, "unknown command 'frobnicate'"},
      {{u"extract"}, "no SOURCE given"},
      {{u"extract", u"-", u"-"}, "standard input (-) given twice"},
      {{u"extract", u"-o", u"x", u"--output-dir", u"d", u"a"}, "exclude each other"},
      {{u"extract", u"-j", u"0", u"a.html"}, "number of jobs from 1 to 64"},
      {{u"extract", u"--charset", u"klingon", u"a.html"}, "unknown charset 'klingon'"},
      {{u"extract", u"--bogus", u"a.html"}, "unknown option '--bogus'"},
      {{u"extract", u"a.html", u"-o"}, "-o needs a file name"},
      {{u"extract", u"--blocked=", u"a.html"}, "--blocked needs a file name"},
      {{u"extract", u"-o", u"x", u"--output", u"y", u"a.html"}, "given twice"},
      {{u"extract", u""}, "a SOURCE is empty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fragment);
    const ProcessResult result = Run(c.arguments);
    ExpectFailure(result, 2, c.fragment);
    EXPECT_NE(result.err.find("veltrin --help"), std::string::npos);
  }
}

TEST_F(CliTest, WritesExactlyThePipelineResult) {
  Write("page.html", kPage);
  // A relative path is taken against the working folder.
  const ProcessResult result = Run({u"extract", u"page.html"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, Expected(kPage));
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find("\r\n"), std::string::npos);  // CR LF kept, never doubled
  EXPECT_EQ(result.out.find("\r\r"), std::string::npos);
}

TEST_F(CliTest, TheBundledExampleLosesItsBlockedWords) {
  const fs::path examples = HostPath(VELTRIN_SOURCE_DIR) / "examples";
  const ProcessResult result = Run(
      {u"extract", u"--blocked", Arg(examples / "blocked.txt"), Arg(examples / "chapter.html")});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto words = cli::SplitWordList(ReadUtf8TextFile(Arg(examples / "blocked.txt")));
  EXPECT_EQ(result.out,
            TextToUtf8(*ExtractParagraphs(ReadUtf8TextFile(Arg(examples / "chapter.html")), [&] {
              BlockedWords blocked;
              blocked.Rebuild(words);
              return blocked;
            }())));
  EXPECT_EQ(result.out.find("广告"), std::string::npos);
  EXPECT_NE(result.out.find("《山海经》、《水经注》"), std::string::npos);
  EXPECT_NE(result.out.find("&amp;"), std::string::npos);
}

TEST_F(CliTest, WritesTheResultFileWhole) {
  Write("page.html", kPage);
  const fs::path output = Write("结果.txt", std::string(300, 'x'));  // replaced, no old tail
  const ProcessResult result = Run({u"extract", u"-o", u"结果.txt", u"page.html"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "");
  std::ifstream stream(output, std::ios::binary);
  const std::string written(std::istreambuf_iterator<char>(stream), {});
  EXPECT_EQ(written.size(), Expected(kPage).size());
  EXPECT_TRUE(written == Expected(kPage));
}

TEST_F(CliTest, ReadsStandardInputLikeAFile) {
  for (const std::string& bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
    const ProcessResult result = Run({u"extract", u"-"}, bom + kPage);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out, Expected(kPage));
  }
}

TEST_F(CliTest, AppliesAWordListWhateverItsLineEnds) {
  Write("page.html", kPage);
  // BOM, CR LF, an empty line, a lone CR and a lone LF: every line is a word.
  Write("words.txt", "\xEF\xBB\xBF广告\r\n\r\n第一句\r甲\n");
  const ProcessResult result = Run({u"extract", u"--blocked", u"words.txt", u"page.html"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, Expected(kPage, {u"广告", u"", u"第一句", u"甲"}));
  EXPECT_EQ(result.out.find("广告"), std::string::npos);

  // A list in another encoding is still read as UTF-8: its words match nothing.
  Write("gbk.txt", "\xB9\xE3\xB8\xE6\r\n");
  const ProcessResult gbk = Run({u"extract", u"--blocked=gbk.txt", u"page.html"});
  EXPECT_EQ(gbk.exit_code, 0) << gbk.err;
  EXPECT_EQ(gbk.out, Expected(kPage));
}

TEST_F(CliTest, OddPagesGiveADefinedResult) {
  const struct {
    const char* name;
    std::string page;
    int status;
  } cases[] = {
      {"empty", "", 0},
      {"ill-formed UTF-8 and NUL", std::string("<p>\xC3\x28 a\xFF\x80\0b。</p>\n", 19), 0},
      {"one line with paragraphs", "<div><p>一。</p><p>二。</p></div>", 0},
      {"a very long line",
       [] {
         std::string line;
         for (int i = 0; i < 20000; ++i) line += "<p>很长的一行里的一段。</p>";
         return line;
       }(),
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Write("page.html", c.page);
    const ProcessResult result = Run({u"extract", u"page.html"});
    EXPECT_EQ(result.exit_code, c.status) << result.err;
    const std::string expected = Expected(c.page);
    EXPECT_EQ(result.out.size(), expected.size());
    EXPECT_TRUE(result.out == expected);  // not EXPECT_EQ: a mismatch would print megabytes
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(CliTest, APageWithoutLineBreaksHasNoParagraphText) {
  Write("flat.html", "<html><body>no paragraphs at all</body></html>");
  ExpectFailure(Run({u"extract", u"flat.html"}), 1, "no paragraph text in flat.html");
}

TEST_F(CliTest, UnreadableSourcesExitWithThree) {
  fs::create_directories(folder_ / "folder");
  Write("page.html", kPage);
  const struct {
    std::vector<std::u16string> arguments;
    const char* fragment;
  } cases[] = {
      {{u"extract", u"missing.html"}, "cannot read 'missing.html': no such file"},
      {{u"extract", u"folder"}, "cannot read 'folder': it is a directory"},
      {{u"extract", u"*.html"}, "wildcards (* and ?) are not accepted"},
      {{u"extract", u"--blocked", u"nowords.txt", u"page.html"},
       "word list: cannot read 'nowords.txt': no such file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fragment);
    ExpectFailure(Run(c.arguments), 3, c.fragment);
  }
}

TEST_F(CliTest, AFileThatCannotBeOpenedExitsWithThree) {
  // Failures that root meets too: a path through a regular file and a name that is too long.
  Write("page.html", kPage);
  ExpectFailure(Run({u"extract", u"page.html/inner.html"}), 3, "page.html/inner.html");
  const std::string too_long(300, 'x');
  ExpectFailure(Run({u"extract", Utf8BytesToText(too_long + ".html")}), 3, too_long);
}

TEST_F(CliTest, AResultThatCannotBeWrittenExitsWithFour) {
  Write("page.html", kPage);
  ExpectFailure(Run({u"extract", u"-o", Arg(folder_ / "no" / "such" / "out.txt"), u"page.html"}), 4,
                "out.txt");
}

TEST_F(CliTest, DownloadsAndReportsHttpFailures) {
  test::LoopbackHttpServer server([](const test::HttpRequest& request) {
    if (request.path == "/page") return test::MakeReply(200, "OK", kPage);
    if (request.path == "/loop") return test::MakeReply(302, "Found", "", {{"Location", "/loop"}});
    if (request.path == "/broken") return test::MakeReply(500, "Internal Server Error", "");
    return test::MakeReply(404, "Not Found", "");
  });
  const auto url = [&](const char* path) { return Utf8BytesToText(server.Url(path)); };

  const ProcessResult page = Run({u"extract", url("/page")});
  EXPECT_EQ(page.exit_code, 0) << page.err;
  EXPECT_EQ(page.out, Expected(kPage));

  ExpectFailure(Run({u"extract", url("/missing")}), 3,
                "cannot download " + server.Url("/missing") + ": HTTP 404 Not Found");
  ExpectFailure(Run({u"extract", url("/broken")}), 3, "HTTP 500 Internal Server Error");
  ExpectFailure(Run({u"extract", url("/loop")}), 3, "too many redirects (more than 10)");
  const std::string closed = "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort());
  ExpectFailure(Run({u"extract", Utf8BytesToText(closed)}), 3, "cannot download " + closed);
}

#ifndef _WIN32
// Windows' console control events cannot be sent to a child under Wine; there the handler is only
// built.
TEST_F(CliTest, AnInterruptLeavesEveryTargetAsItWasAndExitsWith130) {
  test::LoopbackHttpServer server([](const test::HttpRequest&) {
    test::HttpReply reply = test::MakeReply(200, "OK", kPage);
    reply.delay_ms = 60000;  // a stalled source keeps the run going; cut short at the end
    return reply;
  });
  Write("page.html", kPage);
  fs::create_directories(folder_ / "out");
  const std::string stalled = server.Url("/stall");
  const struct {
    int signal;
    std::vector<std::string> arguments;
    fs::path folder;  // where the temporary file appears
  } cases[] = {
      {SIGINT, {"-o", "old.txt", "page.html", stalled}, folder_},
      {SIGTERM, {"--output-dir", "out", "page.html", stalled}, folder_ / "out"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.signal);
    Write("old.txt", "old");
    const std::size_t requests = server.Requests().size();
    std::vector<std::string> arguments = {VELTRIN_CLI_EXE, "extract", "-j", "1"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const fs::path previous = fs::current_path();
    fs::current_path(folder_);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    fs::current_path(previous);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(spawned, 0);
    // Interrupt once the stalled source is being written (a bounded wait).
    const auto temporary_files = [&] {
      int count = 0;
      for (const auto& entry : fs::directory_iterator(c.folder)) {
        count += entry.path().filename().string().starts_with(".~veltrin-");
      }
      return count;
    };
    for (int i = 0; i < 500 && (temporary_files() == 0 || server.Requests().size() == requests);
         ++i) {
      usleep(20000);
    }
    EXPECT_GT(temporary_files(), 0);
    kill(child, c.signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status;
    EXPECT_EQ(temporary_files(), 0);
    EXPECT_EQ(ReadFileBytes(Arg(folder_ / "old.txt")), "old");
  }
  // The finished result of the first source stays; the stalled one left nothing.
  EXPECT_EQ(ReadFileBytes(Arg(folder_ / "out" / "page.txt")), Expected(kPage));
  EXPECT_FALSE(fs::exists(folder_ / "out" / "stall.txt"));
}
#endif

}  // namespace
}  // namespace veltrin
