// The download back end for Windows: one WinHTTP request per call, the body collected in memory up
// to the cap.
#include <windows.h>
#include <winhttp.h>

#include <optional>
#include <string>
#include <utility>

#include "core/http_client.h"
#include "core/system_error_win32.h"
#include "core/utf8.h"
#include "common/unique_handle.h"
#include "common/utf16.h"

namespace veltrin {

namespace {

// Options and flags that older SDK headers lack.
#ifndef WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY
#define WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY 4
#endif
#ifndef WINHTTP_OPTION_DECOMPRESSION
#define WINHTTP_OPTION_DECOMPRESSION 118
#endif
#ifndef WINHTTP_DECOMPRESSION_FLAG_ALL
#define WINHTTP_DECOMPRESSION_FLAG_ALL 0x00000003
#endif

// Owns one HINTERNET (session, connection or request) and closes it.
struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { WinHttpCloseHandle(handle); }
};
using InternetHandle = UniqueHandle<InternetHandleTraits>;

// Returns the system's text for a WinHTTP error code, on one line.
std::string SystemMessage(DWORD code) {
  const std::u16string text = SystemErrorText(code, L"winhttp.dll");
  std::string message = "download failed (error " + std::to_string(code) + ")";
  if (!text.empty()) message += ": " + TextToUtf8(text);
  return message;
}

[[noreturn]] void ThrowLastError(const HttpOptions& options) {
  const DWORD code = GetLastError();
  // A cancellation closes the request under the call, which then fails with any of several codes.
  if (options.cancellation && options.cancellation->Cancelled()) throw HttpCancelled();
  switch (code) {
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // Wine passes the socket's own code through
      throw HttpError(TimedOutMessage(options.timeout_seconds));
    case ERROR_WINHTTP_REDIRECT_FAILED:
      throw HttpError(TooManyRedirectsMessage(options.max_redirects));
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case WSAECONNREFUSED:
      // WinHTTP does not tell a refusal from an unreachable host.
      throw HttpError("cannot connect (connection refused or host unreachable)");
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      throw HttpError("cannot resolve the host name");
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      throw HttpError("not a valid http:// or https:// address");
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case WSAECONNRESET:
      throw HttpError("the connection was reset");
    case ERROR_WINHTTP_SECURE_FAILURE:
      throw HttpError("the secure connection failed");
    default:
      throw HttpError(SystemMessage(code));
  }
}

// Returns a response header as text, or empty when the answer lacks it.
std::wstring QueryHeader(HINTERNET request, DWORD info) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return {};
  std::wstring value(bytes / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &bytes,
                           WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  value.resize(bytes / sizeof(wchar_t));
  return value;
}

DWORD QueryNumber(HINTERNET request, DWORD info) {
  DWORD value = 0;
  DWORD bytes = sizeof(value);
  if (!WinHttpQueryHeaders(request, info | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &value, &bytes, WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return value;
}

InternetHandle OpenSession() {
  // The automatic proxy (Windows 8.1 on) follows the user's settings and PAC scripts; older
  // systems refuse it and get the machine's WinHTTP proxy setting instead.
  InternetHandle session(WinHttpOpen(L"veltrin/1.0", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) {
    session = InternetHandle(WinHttpOpen(L"veltrin/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                         WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  }
  return session;
}

// The parts of an address that a request needs.
struct Target {
  std::wstring host;
  std::wstring object;  // path and query, "/" at least
  INTERNET_PORT port = 0;
  bool secure = false;
};

Target CrackAddress(const std::string& url_utf8, const HttpOptions& options) {
  const std::wstring url = ToWide(Utf8BytesToText(url_utf8));
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (url.empty() || !WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
    ThrowLastError(options);
  }
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
    throw HttpError("not a valid http:// or https:// address");
  }
  Target target;
  target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  target.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  target.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (target.object.empty()) target.object = L"/";
  target.port = parts.nPort;
  target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return target;
}

// One request and the handles it lives in; closing the request abandons a call blocked on it.
struct OpenedRequest {
  InternetHandle session;
  InternetHandle connection;
  InternetHandle request;
  bool decompresses = false;  // whether WinHTTP decodes compressed bodies itself
};

// Opens the session, connection and request for the address with the options' time-outs and
// redirect policy; sends nothing yet.
OpenedRequest OpenRequest(const Target& target, const HttpOptions& options) {
  OpenedRequest opened;
  opened.session = OpenSession();
  if (!opened.session) ThrowLastError(options);
  const int timeout_ms = (options.timeout_seconds > 0 ? options.timeout_seconds : 1) * 1000;
  WinHttpSetTimeouts(opened.session.Get(), timeout_ms, timeout_ms, timeout_ms, timeout_ms);

  opened.connection.Reset(
      WinHttpConnect(opened.session.Get(), target.host.c_str(), target.port, 0));
  if (!opened.connection) ThrowLastError(options);
  opened.request.Reset(WinHttpOpenRequest(opened.connection.Get(), L"GET", target.object.c_str(),
                                          nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                          target.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!opened.request) ThrowLastError(options);
  const HINTERNET request = opened.request.Get();

  // The session's time-outs cover resolving, connecting, sending and each read; waiting for the
  // response headers has its own time-out (90 s by default) that must follow the same setting.
  WinHttpSetTimeouts(request, timeout_ms, timeout_ms, timeout_ms, timeout_ms);
  DWORD response_timeout = static_cast<DWORD>(timeout_ms);
  WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &response_timeout,
                   sizeof(response_timeout));

  DWORD redirect_policy = WINHTTP_OPTION_REDIRECT_POLICY_ALWAYS;
  WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &redirect_policy,
                   sizeof(redirect_policy));
  DWORD max_redirects = static_cast<DWORD>(options.max_redirects > 0 ? options.max_redirects : 0);
  WinHttpSetOption(request, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &max_redirects,
                   sizeof(max_redirects));
  if (options.max_redirects <= 0) {
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof(disable));
  }
  // WinHTTP decodes gzip and deflate itself from Windows 8.1 on. Where it refuses the option we
  // must not invite a compressed answer that nothing here could decode.
  DWORD decompression = WINHTTP_DECOMPRESSION_FLAG_ALL;
  opened.decompresses = WinHttpSetOption(request, WINHTTP_OPTION_DECOMPRESSION, &decompression,
                                         sizeof(decompression)) != FALSE;
  return opened;
}

// Sends the request and waits for the answer's headers; throws HttpError unless the answer is one
// whose body is the page.
void SendAndCheck(HINTERNET request, bool decompresses, const HttpOptions& options) {
  const wchar_t* headers =
      decompresses ? WINHTTP_NO_ADDITIONAL_HEADERS : L"Accept-Encoding: identity\r\n";
  if (!WinHttpSendRequest(request, headers, decompresses ? 0 : static_cast<DWORD>(-1),
                          WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request, nullptr)) {
    ThrowLastError(options);
  }

  const DWORD status = QueryNumber(request, WINHTTP_QUERY_STATUS_CODE);
  if (status >= 400) {
    throw HttpError(
        HttpStatusMessage(static_cast<long>(status),
                          TextToUtf8(AsU16(QueryHeader(request, WINHTTP_QUERY_STATUS_TEXT)))));
  }
  // A redirect still standing after the automatic ones means the limit was reached.
  if (status >= 300 && status < 400 && !QueryHeader(request, WINHTTP_QUERY_LOCATION).empty()) {
    throw HttpError(TooManyRedirectsMessage(options.max_redirects));
  }
  if (!decompresses) {
    const std::wstring encoding = QueryHeader(request, WINHTTP_QUERY_CONTENT_ENCODING);
    if (!encoding.empty() && !EqualsIgnoreCase(AsU16(encoding), u"identity")) {
      throw HttpError("the server sent a compressed body (" + TextToUtf8(AsU16(encoding)) +
                      ") that this system cannot decode");
    }
  }
}

// Reads the body up to the cap, collecting it or handing it over piece by piece.
std::string ReadBody(HINTERNET request, const HttpOptions& options) {
  const std::uint64_t total = QueryNumber(request, WINHTTP_QUERY_CONTENT_LENGTH);
  if (options.content_type) {
    options.content_type(TextToUtf8(AsU16(QueryHeader(request, WINHTTP_QUERY_CONTENT_TYPE))));
  }
  std::string body;
  std::string piece;  // the latest piece when the body is handed over
  std::uint64_t received = 0;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) ThrowLastError(options);
    if (available == 0) break;
    if (available > options.max_body_bytes - received) {
      throw HttpError(BodyTooLargeMessage(options.max_body_bytes));
    }
    std::string& target = options.body ? piece : body;
    const size_t old_size = options.body ? 0 : body.size();
    target.resize(old_size + available);
    DWORD read = 0;
    if (!WinHttpReadData(request, target.data() + old_size, available, &read)) {
      ThrowLastError(options);
    }
    target.resize(old_size + read);
    received += read;
    if (options.body) options.body(piece);
    if (options.progress) options.progress(received, total);
  }
  // WinHTTP ends a body that the connection cut short as if it were whole; the announced length
  // tells (it counts the bytes as sent, so only a body sent as it is can be compared).
  if (received < total && QueryHeader(request, WINHTTP_QUERY_CONTENT_ENCODING).empty()) {
    throw HttpError("the connection closed before the whole body arrived");
  }
  return body;
}

}  // namespace

std::string HttpGet(const std::string& url_utf8, const HttpOptions& options) {
  OpenedRequest opened = OpenRequest(CrackAddress(url_utf8, options), options);
  // The calls below use the raw handle: once a cancellation has closed it under them, they fail
  // and ThrowLastError reports the cancellation. The owner is touched only under the
  // registration's lock until the registration ends.
  const HINTERNET request = opened.request.Get();
  std::optional<Cancellation::Registration> registration;
  if (options.cancellation) {
    registration.emplace(*options.cancellation,
                         [&opened] { WinHttpCloseHandle(opened.request.Detach()); });
  }
  SendAndCheck(request, opened.decompresses, options);
  return ReadBody(request, options);
}

}  // namespace veltrin
