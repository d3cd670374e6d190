// The download back end for Linux: one libcurl easy transfer per call, the body collected in memory
// up to the cap.
#include <curl/curl.h>

#include <cerrno>
#include <exception>
#include <string>
#include <string_view>

#include "common/unique_handle.h"
#include "core/http_client.h"

namespace veltrin {

namespace {

// curl_global_init is not thread-safe and must run once before any transfer; a function-local
// static gives exactly that, and the process exit cleans it up.
class CurlLibrary {
 public:
  CurlLibrary() : code_(curl_global_init(CURL_GLOBAL_DEFAULT)) {}
  ~CurlLibrary() {
    if (code_ == CURLE_OK) curl_global_cleanup();
  }
  CurlLibrary(const CurlLibrary&) = delete;
  CurlLibrary& operator=(const CurlLibrary&) = delete;

  static void Require() {
    static CurlLibrary library;
    if (library.code_ != CURLE_OK) {
      throw HttpError(std::string("cannot start the download library: ") +
                      curl_easy_strerror(library.code_));
    }
  }

 private:
  CURLcode code_;  // result of the one global initialisation
};

struct EasyTraits {
  using Handle = CURL*;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle easy) noexcept { curl_easy_cleanup(easy); }
};
using EasyHandle = UniqueHandle<EasyTraits>;

// What the callbacks of one transfer share.
struct Transfer {
  CURL* easy = nullptr;                  // the transfer's handle, for its header information
  const HttpOptions* options = nullptr;  // caps and the callbacks
  std::string body;                      // the decoded body so far, unless handed over
  std::size_t received = 0;              // decoded body bytes so far
  std::string reason;                    // reason phrase of the latest status line
  std::string retry_after;               // Retry-After of the latest answer, when it has one
  bool over_cap = false;                 // the write callback refused a chunk because of the cap
  bool cancelled = false;                // a callback stopped the transfer on cancellation
  bool typed = false;                    // whether the content type has been reported
  std::exception_ptr failure;            // what a callback threw, rethrown after the transfer
};

// Returns true, and marks the transfer, once another thread has cancelled the download.
bool StopsOnCancellation(Transfer& transfer) {
  const auto& cancellation = transfer.options->cancellation;
  if (cancellation && cancellation->Cancelled()) transfer.cancelled = true;
  return transfer.cancelled;
}

// Reports the final answer's content type once, before its body.
void ReportContentType(Transfer& transfer) {
  if (transfer.typed || !transfer.options->content_type) return;
  transfer.typed = true;
  const char* type = nullptr;
  curl_easy_getinfo(transfer.easy, CURLINFO_CONTENT_TYPE, &type);
  transfer.options->content_type(type == nullptr ? std::string_view() : std::string_view(type));
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const size_t length = size * count;
  if (StopsOnCancellation(*transfer)) return 0;
  if (length > transfer->options->max_body_bytes - transfer->received) {
    transfer->over_cap = true;
    return 0;  // anything but `length` makes curl stop with CURLE_WRITE_ERROR
  }
  transfer->received += length;
  try {
    ReportContentType(*transfer);
    if (transfer->options->body) {
      transfer->options->body(std::string_view(data, length));
    } else {
      transfer->body.append(data, length);
    }
  } catch (...) {  // no exception may cross the C library
    transfer->failure = std::current_exception();
    return 0;
  }
  return length;
}

// Keeps the reason phrase of the last status line: curl reports the status number but not its text.
size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) {
    // "HTTP/1.1 404 Not Found": the reason follows the second space.
    const size_t status = line.find(' ');
    const size_t reason = status == std::string_view::npos ? status : line.find(' ', status + 1);
    try {
      transfer->reason.assign(reason == std::string_view::npos ? std::string_view{}
                                                               : line.substr(reason + 1));
    } catch (...) {
      transfer->reason.clear();
    }
    transfer->retry_after.clear();
  } else if (line.size() > 12 && curl_strnequal(line.data(), "Retry-After:", 12)) {
    try {
      transfer->retry_after.assign(line.substr(12));
    } catch (...) {
      transfer->retry_after.clear();
    }
  }
  return size * count;
}

// libcurl calls this at least about once a second, even while no bytes arrive, which is what lets
// a cancellation end a stalled transfer.
int OnProgress(void* user, curl_off_t download_total, curl_off_t download_now, curl_off_t,
               curl_off_t) {
  auto* transfer = static_cast<Transfer*>(user);
  if (StopsOnCancellation(*transfer)) return 1;  // aborts the transfer
  if (!transfer->options->progress) return 0;
  try {
    transfer->options->progress(static_cast<std::uint64_t>(download_now),
                                static_cast<std::uint64_t>(download_total));
  } catch (...) {
    return 1;  // aborts the transfer; a throwing callback must not unwind through curl
  }
  return 0;
}

[[noreturn]] void ThrowTransferError(CURL* easy, CURLcode code, const Transfer& transfer,
                                     const HttpOptions& options, const char* detail) {
  switch (code) {
    case CURLE_HTTP_RETURNED_ERROR: {
      long status = 0;
      curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
      throw HttpStatusError(status, transfer.reason, transfer.retry_after);
    }
    case CURLE_OPERATION_TIMEDOUT:
      throw HttpError(TimedOutMessage(options.timeout_seconds), true, 0, -1);
    case CURLE_TOO_MANY_REDIRECTS:
      throw HttpError(TooManyRedirectsMessage(options.max_redirects));
    case CURLE_WRITE_ERROR:
      if (transfer.over_cap) throw HttpError(BodyTooLargeMessage(options.max_body_bytes));
      break;
    case CURLE_COULDNT_CONNECT: {
      long os_error = 0;
      curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &os_error);
      if (os_error == ECONNREFUSED) throw HttpError("connection refused", true, 0, -1);
      break;
    }
    case CURLE_COULDNT_RESOLVE_HOST:
      throw HttpError("cannot resolve the host name");
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
      throw HttpError("not a valid http:// or https:// address");
    default:
      break;
  }
  // The error buffer is more specific than the generic text of the code.
  throw HttpError(*detail != '\0' ? std::string(detail) : std::string(curl_easy_strerror(code)));
}

// Opens a transfer of the address with the options; its callbacks report to `transfer` and its
// error text goes to `detail`.
EasyHandle OpenTransfer(const std::string& url_utf8, const HttpOptions& options, Transfer& transfer,
                        char* detail) {
  EasyHandle easy(curl_easy_init());
  if (!easy) throw HttpError("cannot start a download");
  CURL* e = easy.Get();
  transfer.easy = e;
  transfer.options = &options;
  const long timeout = options.timeout_seconds > 0 ? options.timeout_seconds : 1;

  curl_easy_setopt(e, CURLOPT_URL, url_utf8.c_str());
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, detail);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);  // no SIGALRM for name look-up time-outs
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(e, CURLOPT_MAXREDIRS, static_cast<long>(options.max_redirects));
  curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");  // every encoding this libcurl can decode
  curl_easy_setopt(e, CURLOPT_FAILONERROR, 1L);      // stop at the headers of a 4xx/5xx answer
  curl_easy_setopt(e, CURLOPT_USERAGENT, "veltrin/1.0");
  // The time-out bounds each wait, as on Windows, rather than the whole transfer: a large page on
  // a slow line is still a good download as long as bytes keep coming.
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, timeout);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, timeout);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
  if (options.progress || options.cancellation) {
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
  }
  return easy;
}

// Turns the end of a transfer into its outcome: returns normally only for a whole answer.
void CheckTransfer(CURLcode code, Transfer& transfer, const char* detail) {
  if (transfer.cancelled) throw HttpCancelled();
  if (transfer.failure) std::rethrow_exception(transfer.failure);
  if (code != CURLE_OK)
    ThrowTransferError(transfer.easy, code, transfer, *transfer.options, detail);
}

}  // namespace

std::string HttpGet(const std::string& url_utf8, const HttpOptions& options) {
  CurlLibrary::Require();
  Transfer transfer;
  char detail[CURL_ERROR_SIZE] = {};
  const EasyHandle easy = OpenTransfer(url_utf8, options, transfer, detail);
  if (StopsOnCancellation(transfer)) throw HttpCancelled();
  CheckTransfer(curl_easy_perform(easy.Get()), transfer, detail);
  ReportContentType(transfer);  // an empty body never reached the write callback
  return std::move(transfer.body);
}

}  // namespace veltrin
