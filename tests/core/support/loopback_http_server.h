// A tiny HTTP/1.1 server on 127.0.0.1 for download tests: one thread, one connection at a time,
// every answer closes its connection. Winsock on Windows, POSIX sockets elsewhere.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace veltrin::test {

// One answer: the bytes sent as they are, after an optional pause.
struct HttpReply {
  std::string raw;   // status line, headers and body
  int delay_ms = 0;  // pause before the answer; cut short when the server stops
  // When set, the body goes out in pieces of this many bytes with a pause of piece_delay_ms
  // before each (a slow server); the pauses end when the server stops or the client hangs up.
  std::size_t piece_bytes = 0;
  int piece_delay_ms = 0;
  int hold_ms = 0;  // how long the connection stays open after the answer, likewise
};

// What the server saw of one request.
struct HttpRequest {
  std::string path;     // the request target, e.g. "/page?x=1"
  std::string headers;  // the header lines as received, CR LF separated
};

// Builds a complete answer with Content-Length and Connection: close.
HttpReply MakeReply(int status, const std::string& reason, const std::string& body,
                    const std::vector<std::pair<std::string, std::string>>& headers = {});

// Returns a loopback port that nothing listens on (bound and released at once).
int UnusedLoopbackPort();

class LoopbackHttpServer {
 public:
  using Handler = std::function<HttpReply(const HttpRequest&)>;

  // Starts listening on an ephemeral loopback port and serving on a thread; throws
  // std::runtime_error when the socket cannot be set up.
  explicit LoopbackHttpServer(Handler handler);
  // Stops serving (a pending pause ends at once) and joins the thread.
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int Port() const { return port_; }
  // Returns "http://127.0.0.1:PORT" followed by the path.
  std::string Url(const std::string& path) const;
  // Returns the requests served so far, in order.
  std::vector<HttpRequest> Requests() const;
  // Returns true while a connection is held open after its answer (HttpReply::hold_ms).
  bool Holding() const { return holding_; }

 private:
  void Serve();
  void Answer(std::intptr_t client);
  bool Pause(int delay_ms);  // false when the server stopped meanwhile

  Handler handler_;                    // builds each answer
  std::intptr_t listener_ = -1;        // the listening socket
  int port_ = 0;                       // its port
  std::atomic<bool> stopping_{false};  // set by the destructor
  std::atomic<bool> holding_{false};   // a connection is held after its answer
  mutable std::mutex mutex_;           // guards requests_ and the pause
  std::condition_variable wake_;       // ends a pause when stopping
  std::vector<HttpRequest> requests_;  // what was asked
  std::thread thread_;                 // runs Serve
};

}  // namespace veltrin::test
