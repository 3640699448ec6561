// A small HTTP/1.1 server on 127.0.0.1 for tests: it records every request's exact bytes and
// answers from a handler, or misbehaves on purpose (never answers, drops the connection).
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct CapturedRequest {
  std::string method;
  std::string target;   // request target as sent: path and query
  std::string headers;  // header lines as sent, CR LF separated
  std::string body;
};

struct Reply {
  enum class Kind { Answer, Hang, Drop };
  Kind kind = Kind::Answer;
  int status = 200;
  std::string reason = "OK";
  std::string body;
  std::string contentType = "application/json; charset=utf-8";

  static Reply Json(std::string body) { return Reply{Kind::Answer, 200, "OK", std::move(body)}; }
  static Reply Status(int status, std::string reason, std::string body = {}) {
    return Reply{Kind::Answer, status, std::move(reason), std::move(body)};
  }
  static Reply Hang() { return Reply{Kind::Hang, 0, {}, {}}; }
  static Reply Drop() { return Reply{Kind::Drop, 0, {}, {}}; }
};

class LoopbackServer {
 public:
  using Handler = std::function<Reply(const CapturedRequest&)>;

  explicit LoopbackServer(Handler handler);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::vector<CapturedRequest> requests() const;

 private:
  void AcceptLoop();
  void Serve(int connection);

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  mutable std::mutex lock_;
  std::vector<CapturedRequest> requests_;
  std::vector<std::thread> workers_;
  std::vector<int> openConnections_;
};

// A loopback port on which nothing listens (bound, then closed).
int UnusedPort();

}  // namespace testsupport
