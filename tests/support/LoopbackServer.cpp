#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace testsupport {
namespace {

int ListenOnLoopback(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 64) != 0) {
    ::close(fd);
    throw std::runtime_error("bind/listen failed");
  }
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

bool ReadMore(int fd, std::string& buffer) {
  char chunk[4096];
  const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
  if (n <= 0) return false;
  buffer.append(chunk, static_cast<std::size_t>(n));
  return true;
}

std::size_t ContentLength(const std::string& headers) {
  std::string lower = headers;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  const std::size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return std::stoul(headers.substr(at + 17));
}

bool ReadRequest(int fd, CapturedRequest& request) {
  std::string buffer;
  std::size_t headerEnd;
  while ((headerEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
    if (!ReadMore(fd, buffer)) return false;
  }
  const std::string head = buffer.substr(0, headerEnd);
  const std::size_t lineEnd = head.find("\r\n");
  const std::string requestLine = head.substr(0, lineEnd);
  const std::size_t space1 = requestLine.find(' ');
  const std::size_t space2 = requestLine.rfind(' ');
  request.method = requestLine.substr(0, space1);
  request.target = requestLine.substr(space1 + 1, space2 - space1 - 1);
  request.headers = lineEnd == std::string::npos ? "" : head.substr(lineEnd + 2);
  const std::size_t length = ContentLength("\r\n" + request.headers);
  std::string body = buffer.substr(headerEnd + 4);
  while (body.size() < length) {
    if (!ReadMore(fd, body)) return false;
  }
  request.body = body.substr(0, length);
  return true;
}

void SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = ListenOnLoopback(port_);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  ::shutdown(listener_, SHUT_RDWR);
  ::close(listener_);
  acceptor_.join();
  {
    std::lock_guard guard(lock_);
    for (int fd : openConnections_) ::shutdown(fd, SHUT_RDWR);
  }
  for (std::thread& worker : workers_) worker.join();
}

std::vector<CapturedRequest> LoopbackServer::requests() const {
  std::lock_guard guard(lock_);
  return requests_;
}

void LoopbackServer::AcceptLoop() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 100) <= 0) continue;
    const int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    std::lock_guard guard(lock_);
    openConnections_.push_back(connection);
    workers_.emplace_back([this, connection] { Serve(connection); });
  }
}

void LoopbackServer::Serve(int connection) {
  CapturedRequest request;
  if (ReadRequest(connection, request)) {
    {
      std::lock_guard guard(lock_);
      requests_.push_back(request);
    }
    const Reply reply = handler_(request);
    if (reply.kind == Reply::Kind::Hang) {
      // Hold the connection open without a byte until the peer gives up or the server stops.
      char sink[256];
      while (!stopping_ && ::recv(connection, sink, sizeof sink, 0) > 0) {
      }
    } else if (reply.kind == Reply::Kind::Answer) {
      SendAll(connection, "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason +
                              "\r\nContent-Type: " + reply.contentType +
                              "\r\nContent-Length: " + std::to_string(reply.body.size()) +
                              "\r\nConnection: close\r\n\r\n" + reply.body);
    }
  }
  {
    std::lock_guard guard(lock_);
    openConnections_.erase(std::remove(openConnections_.begin(), openConnections_.end(), connection),
                           openConnections_.end());
  }
  ::close(connection);
}

int UnusedPort() {
  int port = 0;
  const int fd = ListenOnLoopback(port);
  ::close(fd);
  return port;
}

}  // namespace testsupport
