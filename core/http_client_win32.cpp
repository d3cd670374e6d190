// The download back end for Windows: one WinHTTP request per call, the body collected in memory up
// to the cap.
#include <windows.h>
#include <winhttp.h>

#include <string>
#include <utility>

#include "core/http_client.h"
#include "core/system_error_win32.h"
#include "core/utf8.h"
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
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle = nullptr) noexcept : handle_(handle) {}
  ~InternetHandle() {
    if (handle_ != nullptr) WinHttpCloseHandle(handle_);
  }
  InternetHandle(InternetHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    if (this != &other) {
      if (handle_ != nullptr) WinHttpCloseHandle(handle_);
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  HINTERNET Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

 private:
  HINTERNET handle_;  // owned; null when empty
};

// Returns the system's text for a WinHTTP error code, on one line.
std::string SystemMessage(DWORD code) {
  const std::u16string text = SystemErrorText(code, L"winhttp.dll");
  std::string message = "download failed (error " + std::to_string(code) + ")";
  if (!text.empty()) message += ": " + TextToUtf8(text);
  return message;
}

[[noreturn]] void ThrowLastError(const HttpOptions& options) {
  const DWORD code = GetLastError();
  switch (code) {
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // Wine passes the socket's own code through
      throw HttpError(TimedOutMessage(options.timeout_seconds), true, 0, -1);
    case ERROR_WINHTTP_REDIRECT_FAILED:
      throw HttpError(TooManyRedirectsMessage(options.max_redirects));
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case WSAECONNREFUSED:
      // WinHTTP does not tell a refusal from an unreachable host.
      throw HttpError("cannot connect (connection refused or host unreachable)", true, 0, -1);
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

}  // namespace

std::string HttpGet(const std::string& url_utf8, const HttpOptions& options) {
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
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring object(parts.lpszUrlPath, parts.dwUrlPathLength);
  object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (object.empty()) object = L"/";

  InternetHandle session = OpenSession();
  if (!session) ThrowLastError(options);
  const int timeout_ms = (options.timeout_seconds > 0 ? options.timeout_seconds : 1) * 1000;
  WinHttpSetTimeouts(session.Get(), timeout_ms, timeout_ms, timeout_ms, timeout_ms);

  InternetHandle connection(WinHttpConnect(session.Get(), host.c_str(), parts.nPort, 0));
  if (!connection) ThrowLastError(options);
  InternetHandle request(
      WinHttpOpenRequest(connection.Get(), L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                         WINHTTP_DEFAULT_ACCEPT_TYPES,
                         parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!request) ThrowLastError(options);

  // The session's time-outs cover resolving, connecting, sending and each read; waiting for the
  // response headers has its own time-out (90 s by default) that must follow the same setting.
  WinHttpSetTimeouts(request.Get(), timeout_ms, timeout_ms, timeout_ms, timeout_ms);
  DWORD response_timeout = static_cast<DWORD>(timeout_ms);
  WinHttpSetOption(request.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &response_timeout,
                   sizeof(response_timeout));

  DWORD redirect_policy = WINHTTP_OPTION_REDIRECT_POLICY_ALWAYS;
  WinHttpSetOption(request.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &redirect_policy,
                   sizeof(redirect_policy));
  DWORD max_redirects = static_cast<DWORD>(options.max_redirects > 0 ? options.max_redirects : 0);
  WinHttpSetOption(request.Get(), WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &max_redirects,
                   sizeof(max_redirects));
  if (options.max_redirects <= 0) {
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(request.Get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof(disable));
  }
  // WinHTTP decodes gzip and deflate itself from Windows 8.1 on. Where it refuses the option we
  // must not invite a compressed answer that nothing here could decode.
  DWORD decompression = WINHTTP_DECOMPRESSION_FLAG_ALL;
  const bool decompresses = WinHttpSetOption(request.Get(), WINHTTP_OPTION_DECOMPRESSION,
                                             &decompression, sizeof(decompression)) != FALSE;
  const wchar_t* headers =
      decompresses ? WINHTTP_NO_ADDITIONAL_HEADERS : L"Accept-Encoding: identity\r\n";

  if (!WinHttpSendRequest(request.Get(), headers, decompresses ? 0 : static_cast<DWORD>(-1),
                          WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.Get(), nullptr)) {
    ThrowLastError(options);
  }

  const DWORD status = QueryNumber(request.Get(), WINHTTP_QUERY_STATUS_CODE);
  if (status >= 400) {
    throw HttpStatusError(static_cast<long>(status),
                          TextToUtf8(AsU16(QueryHeader(request.Get(), WINHTTP_QUERY_STATUS_TEXT))),
                          TextToUtf8(AsU16(QueryHeader(request.Get(), WINHTTP_QUERY_RETRY_AFTER))));
  }
  // A redirect still standing after the automatic ones means the limit was reached.
  if (status >= 300 && status < 400 &&
      !QueryHeader(request.Get(), WINHTTP_QUERY_LOCATION).empty()) {
    throw HttpError(TooManyRedirectsMessage(options.max_redirects));
  }
  if (!decompresses) {
    const std::wstring encoding = QueryHeader(request.Get(), WINHTTP_QUERY_CONTENT_ENCODING);
    if (!encoding.empty() && !EqualsIgnoreCase(AsU16(encoding), u"identity")) {
      throw HttpError("the server sent a compressed body (" + TextToUtf8(AsU16(encoding)) +
                      ") that this system cannot decode");
    }
  }

  const std::uint64_t total = QueryNumber(request.Get(), WINHTTP_QUERY_CONTENT_LENGTH);
  if (options.content_type) {
    options.content_type(TextToUtf8(AsU16(QueryHeader(request.Get(), WINHTTP_QUERY_CONTENT_TYPE))));
  }
  std::string body;
  std::string piece;  // the latest piece when the body is handed over
  std::uint64_t received = 0;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request.Get(), &available)) ThrowLastError(options);
    if (available == 0) break;
    if (available > options.max_body_bytes - received) {
      throw HttpError(BodyTooLargeMessage(options.max_body_bytes));
    }
    std::string& target = options.body ? piece : body;
    const size_t old_size = options.body ? 0 : body.size();
    target.resize(old_size + available);
    DWORD read = 0;
    if (!WinHttpReadData(request.Get(), target.data() + old_size, available, &read)) {
      ThrowLastError(options);
    }
    target.resize(old_size + read);
    received += read;
    if (options.body) options.body(piece);
    if (options.progress) options.progress(received, total);
  }
  return body;
}

}  // namespace veltrin
