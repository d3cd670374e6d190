// The loopback HTTP server of the download tests (see the header).
#include "tests/core/support/loopback_http_server.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string_view>
#include <utility>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace veltrin::test {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s) {
  closesocket(s);
}

// Winsock counts its users: every StartSockets is paired with one StopSockets.
void StartSockets() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
}
void StopSockets() {
  WSACleanup();
}
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void CloseSocket(Socket s) {
  close(s);
}
void StartSockets() {}
void StopSockets() {}
#endif

Socket ToSocket(std::intptr_t value) {
  return static_cast<Socket>(value);
}

Socket OpenLoopbackListener(int* port) {
  Socket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == kNoSocket) throw std::runtime_error("socket() failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof(address);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    CloseSocket(s);
    throw std::runtime_error("cannot bind a loopback port");
  }
  *port = ntohs(address.sin_port);
  return s;
}

// True when the socket has something to accept or read within the wait.
bool Readable(Socket s, int wait_ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{wait_ms / 1000, (wait_ms % 1000) * 1000};
  return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

// Sends everything; false when the client hung up (for example after its time-out).
bool SendAll(Socket s, std::string_view bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const int chunk = static_cast<int>(std::min<size_t>(bytes.size() - sent, 1 << 16));
    const auto n = send(s, bytes.data() + sent, chunk, 0);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

HttpReply MakeReply(int status, const std::string& reason, const std::string& body,
                    const std::vector<std::pair<std::string, std::string>>& headers) {
  std::string raw = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
  for (const auto& [name, value] : headers) raw += name + ": " + value + "\r\n";
  raw += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  raw += body;
  HttpReply reply;
  reply.raw = std::move(raw);
  return reply;
}

int UnusedLoopbackPort() {
  StartSockets();
  int port = 0;
  try {
    CloseSocket(OpenLoopbackListener(&port));
  } catch (...) {
    StopSockets();
    throw;
  }
  StopSockets();
  return port;
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
  StartSockets();
  Socket s = kNoSocket;
  try {
    s = OpenLoopbackListener(&port_);
  } catch (...) {
    StopSockets();
    throw;
  }
  if (listen(s, 16) != 0) {
    CloseSocket(s);
    StopSockets();
    throw std::runtime_error("listen() failed");
  }
  listener_ = static_cast<std::intptr_t>(s);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
  CloseSocket(ToSocket(listener_));
  StopSockets();
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<HttpRequest> LoopbackHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackHttpServer::Serve() {
  // Polling with a short wait lets the destructor stop the loop without closing the socket under
  // a blocked accept(), which Winsock and POSIX treat differently.
  while (!stopping_) {
    if (!Readable(ToSocket(listener_), 50)) continue;
    const Socket client = accept(ToSocket(listener_), nullptr, nullptr);
    if (client == kNoSocket) continue;
    Answer(static_cast<std::intptr_t>(client));
    CloseSocket(client);
  }
}

void LoopbackHttpServer::Answer(std::intptr_t client_value) {
  const Socket client = ToSocket(client_value);
  std::string received;
  char buffer[4096];
  while (received.find("\r\n\r\n") == std::string::npos && received.size() < (1 << 16)) {
    if (!Readable(client, 2000)) return;
    const auto n = recv(client, buffer, sizeof(buffer), 0);
    if (n <= 0) return;
    received.append(buffer, static_cast<size_t>(n));
  }
  HttpRequest request;
  const size_t line_end = received.find("\r\n");
  const size_t target = received.find(' ');
  const size_t version = received.find(' ', target + 1);
  if (target != std::string::npos && version != std::string::npos && version < line_end) {
    request.path = received.substr(target + 1, version - target - 1);
  }
  request.headers = received.substr(line_end + 2);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  const HttpReply reply = handler_(request);
  if (reply.delay_ms > 0 && !Pause(reply.delay_ms)) return;
  std::string_view rest = reply.raw;
  if (reply.piece_bytes > 0) {
    const size_t body = rest.find("\r\n\r\n");
    const size_t head = body == std::string_view::npos ? rest.size() : body + 4;
    if (!SendAll(client, rest.substr(0, head))) return;
    rest.remove_prefix(head);
    while (!rest.empty()) {
      if (!Pause(reply.piece_delay_ms)) return;
      const size_t piece = std::min(reply.piece_bytes, rest.size());
      if (!SendAll(client, rest.substr(0, piece))) return;
      rest.remove_prefix(piece);
    }
  }
  SendAll(client, rest);
  if (reply.hold_ms > 0) {
    holding_ = true;
    Pause(reply.hold_ms);
    holding_ = false;
  }
#ifdef _WIN32
  shutdown(client, SD_SEND);
#else
  shutdown(client, SHUT_WR);
#endif
}

bool LoopbackHttpServer::Pause(int delay_ms) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(delay_ms),
                         [this] { return stopping_.load(); });
}

}  // namespace veltrin::test
