// Downloads against a server the test starts on 127.0.0.1: libcurl natively, WinHTTP under Wine.
#include "core/http_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "tests/core/support/loopback_http_server.h"

namespace veltrin {
namespace {

using test::HttpReply;
using test::HttpRequest;
using test::LoopbackHttpServer;
using test::MakeReply;

const std::string kPage = "<p>第一段。</p>\r\n<p>第二段？</p>\r\n";

// The gzip stream of three copies of "<p>压缩过的段落。</p>\r\n" (made once, embedded so that no
// build needs a compression library).
const char kGzipBytes[] =
    "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\xff\xb3\x29\xb0\x7b\xda\xd7\xfd\x7c\xcf\xca\x17\xfb\xdb"
    "\x9f\xcf\x6a\x79\xb6\x6e\xeb\x8b\x09\x7b\x1f\x37\x34\xd9\xe8\x17\xd8\xf1\x72\xd9\x50\x20\x0b"
    "\x00\x59\x7b\x0f\x2a\x5a\x00\x00\x00";
const std::string kGzipped(kGzipBytes, sizeof(kGzipBytes) - 1);

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

const std::string kGzipPlain = Repeat("<p>压缩过的段落。</p>\r\n", 3);

// The routes every test can ask for.
HttpReply Route(const HttpRequest& request) {
  const std::string& path = request.path;
  if (path == "/page") return MakeReply(200, "OK", kPage, {{"Content-Type", "text/html"}});
  if (path == "/empty") return MakeReply(200, "OK", "");
  if (path == "/moved") return MakeReply(302, "Found", "", {{"Location", "/page"}});
  if (path == "/moved-twice")
    return MakeReply(301, "Moved Permanently", "", {{"Location", "/moved"}});
  if (path == "/loop") return MakeReply(302, "Found", "", {{"Location", "/loop"}});
  if (path == "/missing") return MakeReply(404, "Not Found", "<h1>not here</h1>");
  if (path == "/broken") return MakeReply(500, "Internal Server Error", "oops");
  if (path == "/teapot") return MakeReply(418, "I'm a teapot", "");
  if (path == "/big") return MakeReply(200, "OK", std::string(5000, 'x'));
  if (path == "/cut") return HttpReply{"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nfour"};
  if (path == "/slow") {
    HttpReply reply = MakeReply(200, "OK", kPage);
    reply.delay_ms = 5000;
    return reply;
  }
  if (path == "/stall") {  // accepted, then no answer until the server stops
    HttpReply reply = MakeReply(200, "OK", kPage);
    reply.delay_ms = 120000;
    return reply;
  }
  if (path == "/gzip") {
    // Like a real server: compress only for a client that asks for it.
    if (request.headers.find("gzip") != std::string::npos) {
      return MakeReply(200, "OK", kGzipped, {{"Content-Encoding", "gzip"}});
    }
    return MakeReply(200, "OK", kGzipPlain);
  }
  return MakeReply(404, "Not Found", "");
}

class HttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    // A proxy set in the environment must not see loopback requests.
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
#endif
  }

  // Returns the message of the HttpError that the download throws, or "no error".
  static std::string FailureOf(const std::string& url, const HttpOptions& options = {}) {
    try {
      HttpGet(url, options);
    } catch (const HttpError& error) {
      return error.what();
    }
    return "no error";
  }

  LoopbackHttpServer server_{Route};
};

TEST_F(HttpClientTest, ReturnsTheBodyBytesUnchanged) {
  EXPECT_EQ(HttpGet(server_.Url("/page")), kPage);
  EXPECT_EQ(HttpGet(server_.Url("/empty")), "");
}

TEST_F(HttpClientTest, FollowsRedirects) {
  EXPECT_EQ(HttpGet(server_.Url("/moved")), kPage);
  EXPECT_EQ(HttpGet(server_.Url("/moved-twice")), kPage);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 5u);
  EXPECT_EQ(requests[2].path, "/moved-twice");
  EXPECT_EQ(requests[4].path, "/page");
}

TEST_F(HttpClientTest, StopsARedirectLoop) {
  HttpOptions options;
  options.max_redirects = 3;
  EXPECT_EQ(FailureOf(server_.Url("/loop"), options), "too many redirects (more than 3)");
  // The first request and at most the allowed redirects: no endless loop.
  EXPECT_LE(server_.Requests().size(), 5u);
}

TEST_F(HttpClientTest, RejectsErrorStatusesByName) {
  const struct {
    const char* path;
    const char* message;
  } cases[] = {
      {"/missing", "HTTP 404 Not Found"},
      {"/broken", "HTTP 500 Internal Server Error"},
      {"/teapot", "HTTP 418 I'm a teapot"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureOf(server_.Url(c.path)), c.message) << c.path;
  }
}

TEST_F(HttpClientTest, DecodesACompressedBody) {
  EXPECT_EQ(HttpGet(server_.Url("/gzip")), kGzipPlain);
#ifndef _WIN32
  // libcurl always offers gzip, so the compressed route was really taken.
  EXPECT_NE(server_.Requests().back().headers.find("gzip"), std::string::npos);
#endif
}

TEST_F(HttpClientTest, GivesUpOnASlowAnswer) {
  HttpOptions options;
  options.timeout_seconds = 1;
  EXPECT_EQ(FailureOf(server_.Url("/slow"), options), "timed out after 1 s");
}

TEST_F(HttpClientTest, ReportsARefusedConnection) {
  const std::string url = "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/";
  const std::string message = FailureOf(url);
#ifdef _WIN32
  EXPECT_EQ(message, "cannot connect (connection refused or host unreachable)");
#else
  EXPECT_EQ(message, "connection refused");
#endif
}

TEST_F(HttpClientTest, CapsTheBody) {
  HttpOptions options;
  options.max_body_bytes = 1000;
  EXPECT_EQ(FailureOf(server_.Url("/big"), options), "body exceeds 1000 bytes");
  options.max_body_bytes = 5000;  // exactly the body: still fine
  EXPECT_EQ(HttpGet(server_.Url("/big"), options).size(), 5000u);
}

TEST_F(HttpClientTest, ReportsProgressUpToTheWholeBody) {
  HttpOptions options;
  std::uint64_t last_received = 0;
  options.progress = [&](std::uint64_t received, std::uint64_t) { last_received = received; };
  EXPECT_EQ(HttpGet(server_.Url("/big"), options).size(), 5000u);
  EXPECT_EQ(last_received, 5000u);
}

TEST_F(HttpClientTest, ABodyCutShortFails) {
  EXPECT_NE(FailureOf(server_.Url("/cut")), "no error");
}

TEST_F(HttpClientTest, RejectsAnAddressThatIsNotHttp) {
  EXPECT_EQ(FailureOf("ftp://127.0.0.1/file"), "not a valid http:// or https:// address");
}

TEST_F(HttpClientTest, CancellationStopsADownloadThatWaitsForBytes) {
  HttpOptions options;
#ifdef _WIN32
  // Windows abandons the blocked call as soon as the handle is closed; Wine's WinHTTP finishes it
  // only at the time-out. Either way the failure must be the cancellation, not the time-out.
  options.timeout_seconds = 3;
#else
  options.timeout_seconds = 60;  // far longer than the test waits
#endif
  options.cancellation = std::make_shared<Cancellation>();
  std::thread canceller([&] {
    // Cancel once the server holds the request (bounded: the download fails either way).
    for (int i = 0; i < 500 && server_.Requests().empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    options.cancellation->Cancel();
  });
  const std::string message = FailureOf(server_.Url("/stall"), options);
  canceller.join();
  EXPECT_EQ(message, "download cancelled");
}

TEST_F(HttpClientTest, CancellationBeforeTheStartFailsAtOnceAndOnlyThen) {
  HttpOptions options;
  options.cancellation = std::make_shared<Cancellation>();
  EXPECT_EQ(HttpGet(server_.Url("/page"), options), kPage);  // not cancelled: a normal download
  options.cancellation->Cancel();
  try {
    HttpGet(server_.Url("/page"), options);
    ADD_FAILURE() << "no error";
  } catch (const HttpCancelled& error) {
    EXPECT_STREQ(error.what(), "download cancelled");
  }
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST(CancellationTest, RunsTheActionsOfLiveRegistrationsOnce) {
  Cancellation cancellation;
  int ended = 0, live = 0, late = 0;
  {
    Cancellation::Registration gone(cancellation, [&] { ++ended; });
  }
  Cancellation::Registration registration(cancellation, [&] { ++live; });
  EXPECT_FALSE(cancellation.Cancelled());
  cancellation.Cancel();
  cancellation.Cancel();
  EXPECT_TRUE(cancellation.Cancelled());
  Cancellation::Registration after(cancellation, [&] { ++late; });  // runs at once
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(live, 1);
  EXPECT_EQ(late, 1);
}

TEST(HttpMessagesTest, NameTheCause) {
  EXPECT_EQ(BodyTooLargeMessage(std::size_t{256} << 20), "body exceeds 256 MiB");
  EXPECT_EQ(BodyTooLargeMessage(1500), "body exceeds 1500 bytes");
  EXPECT_EQ(HttpStatusMessage(404, ""), "HTTP 404 Not Found");
  EXPECT_EQ(HttpStatusMessage(599, " \r\n"), "HTTP 599");
  EXPECT_EQ(HttpStatusMessage(503, "Busy\r\n"), "HTTP 503 Busy");
}

}  // namespace
}  // namespace veltrin
