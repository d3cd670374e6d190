// One blocking HTTP(S) GET behind a portable interface: WinHTTP on Windows, libcurl elsewhere.
// Both back ends follow redirects, use the system proxy, accept compressed bodies and cap the size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/cancellation.h"

namespace veltrin {

// A download that produced no usable body; what() is one line that names the cause
// ("HTTP 404 Not Found", "timed out after 60 s", "too many redirects", "connection refused",
// "body exceeds 256 MiB", ...).
class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A download stopped through HttpOptions::cancellation; what() is "download cancelled".
class HttpCancelled : public HttpError {
 public:
  HttpCancelled();
};

// How a download behaves. The defaults are the ones the tool uses.
struct HttpOptions {
  int timeout_seconds = 60;  // longest wait for a connection or for the next bytes of the answer
  int max_redirects = 10;    // redirects followed before the download fails
  std::size_t max_body_bytes = std::size_t{256} << 20;  // decoded body size that fails the download
  // Called now and then while the body arrives; total is 0 when the server did not announce it.
  std::function<void(std::uint64_t received, std::uint64_t total)> progress;
  // When set, called once with the answer's Content-Type header (empty when it has none) before
  // any of the body is handed over.
  std::function<void(std::string_view content_type)> content_type;
  // When set, the body is handed over piece by piece as it arrives instead of being collected
  // (HttpGet then returns an empty string); an exception thrown here ends the download and
  // leaves HttpGet unchanged.
  std::function<void(std::string_view piece)> body;
  // When set, another thread may stop the download with cancellation->Cancel(), even while it
  // waits for bytes that do not come; HttpGet then throws HttpCancelled within about a second.
  std::shared_ptr<Cancellation> cancellation;
};

// Downloads the address (http:// or https://, UTF-8) and returns the decoded body bytes as they
// came (or hands them to options.body), whatever character set the server names. Throws HttpError
// on a transfer failure, on an HTTP status of 400 or more, and on a body larger than
// options.max_body_bytes; HttpCancelled once options.cancellation is cancelled.
std::string HttpGet(const std::string& url_utf8, const HttpOptions& options = {});

// The one-line failure messages both back ends give, so that a failure reads alike everywhere.
// Returns "HTTP 404 Not Found"; an empty reason takes the standard phrase of the status.
std::string HttpStatusMessage(long status, std::string_view reason);
// Returns "body exceeds 256 MiB" (or "... N bytes" for a cap that is not whole MiB).
std::string BodyTooLargeMessage(std::size_t max_body_bytes);
// Returns "timed out after N s".
std::string TimedOutMessage(int timeout_seconds);
// Returns "too many redirects (more than N)".
std::string TooManyRedirectsMessage(int max_redirects);

}  // namespace veltrin
