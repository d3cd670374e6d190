// Messages that both download back ends share, so that a failure reads the same on every platform.
#include "core/http_client.h"

#include <string_view>

namespace veltrin {

namespace {

// Reason phrases for the statuses a page server commonly answers with, used when the answer
// carried none (HTTP/2 has no reason phrase).
std::string_view StandardReason(long status) {
  switch (status) {
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 408:
      return "Request Timeout";
    case 410:
      return "Gone";
    case 429:
      return "Too Many Requests";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    case 504:
      return "Gateway Timeout";
    default:
      return {};
  }
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                           text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

HttpCancelled::HttpCancelled() : HttpError("download cancelled") {}

std::string HttpStatusMessage(long status, std::string_view reason) {
  std::string message = "HTTP " + std::to_string(status);
  reason = TrimSpaces(reason);
  if (reason.empty()) reason = StandardReason(status);
  if (!reason.empty()) {
    message += ' ';
    // A reason phrase is the server's text: keep the message on one line.
    for (char c : reason) message += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return message;
}

std::string BodyTooLargeMessage(std::size_t max_body_bytes) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  if (max_body_bytes >= kMiB && max_body_bytes % kMiB == 0) {
    return "body exceeds " + std::to_string(max_body_bytes / kMiB) + " MiB";
  }
  return "body exceeds " + std::to_string(max_body_bytes) + " bytes";
}

std::string TimedOutMessage(int timeout_seconds) {
  return "timed out after " + std::to_string(timeout_seconds) + " s";
}

std::string TooManyRedirectsMessage(int max_redirects) {
  return "too many redirects (more than " + std::to_string(max_redirects) + ")";
}

}  // namespace veltrin
