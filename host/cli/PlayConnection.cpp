#include "PlayConnection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>

namespace pello::cli {

std::string refusalText(int status) {
  switch (status) {
  case 408:
    return "the request did not arrive in time";
  case 413:
    return "the request is too large";
  case 414:
    return "the request's address is too long";
  case 431:
    return "the request's line or headers are too long or too many";
  case 503:
    return "pello-host is shutting down";
  case 404:
    return "no such page";
  default:
    return "the request is malformed";
  }
}

namespace {

using Clock = std::chrono::steady_clock;

// A connection's socket as the library reads and writes it, with the
// bounds counted as the bytes are handed out.
class BoundedStream final : public httplib::Stream {
public:
  BoundedStream(int sock, const ConnectionLimits &limits, int wake)
      : sock_(sock), wake_(wake), limits_(limits) {}

  // Waits (up to the idle limit) for the next request and starts its count
  // and deadline; false when none comes.
  bool awaitRequest() {
    inHead_ = true;
    headBytes_ = headLines_ = lineLength_ = bodyBytes_ = 0;
    refusal_ = 0;
    replyStarted_ = false;
    if (begin_ == end_ && wait(POLLIN, Clock::now() + limits_.idle) != Ready::socket) return false;
    deadline_ = Clock::now() + limits_.request;
    return true;
  }
  int refusal() const { return refusal_; }
  bool replied() const { return replyStarted_; }
  bool mustClose() const { return refusal_ != 0 || closeRequested_; }
  void requestClose() { closeRequested_ = true; }

  // Closes without losing the reply: a client still sending a body it was
  // refused would otherwise get a reset before it reads the reply.
  void close() {
    if (mustClose()) {
      ::shutdown(sock_, SHUT_WR);
      const auto until = Clock::now() + std::chrono::milliseconds(500);
      std::array<char, 16384> discard;
      std::size_t drained = 0;
      while (drained < (8u << 20) && wait(POLLIN, until) == Ready::socket) {
        const ssize_t got = ::recv(sock_, discard.data(), discard.size(), 0);
        if (got <= 0) break;
        drained += static_cast<std::size_t>(got);
      }
    }
    ::close(sock_);
  }

  bool is_readable() const override {
    return begin_ != end_ || waitConst(POLLIN, deadline_) == Ready::socket;
  }
  bool is_writable() const override { return waitConst(POLLOUT, replyDeadline()) == Ready::socket; }

  ssize_t read(char *ptr, size_t size) override {
    if (refusal_) return -1;
    if (begin_ == end_ && !fill()) return -1;
    std::size_t n = std::min(size, end_ - begin_);
    if (inHead_) {
      n = countHead(n);
      if (refusal_) return -1;
    } else {
      if (bodyBytes_ >= limits_.bodyBytes) return refuse(413);
      n = std::min(n, limits_.bodyBytes - bodyBytes_);
      bodyBytes_ += n;
    }
    std::copy_n(buffer_.data() + begin_, n, ptr);
    begin_ += n;
    return static_cast<ssize_t>(n);
  }

  ssize_t write(const char *ptr, size_t size) override {
    if (!replyStarted_) {
      replyStarted_ = true;
      replyDeadline_ = Clock::now() + limits_.reply;
    }
    std::size_t written = 0;
    while (written < size) {
      if (waitConst(POLLOUT, replyDeadline_) != Ready::socket) return -1;
      const ssize_t sent = ::send(sock_, ptr + written, size - written, MSG_NOSIGNAL);
      if (sent < 0 && errno == EINTR) continue;
      if (sent <= 0) return -1;
      written += static_cast<std::size_t>(sent);
    }
    return static_cast<ssize_t>(size);
  }

  void get_remote_ip_and_port(std::string &ip, int &port) const override { address(&getpeername, ip, port); }
  void get_local_ip_and_port(std::string &ip, int &port) const override { address(&getsockname, ip, port); }
  socket_t socket() const override { return sock_; }

private:
  enum class Ready { socket, timeout, stopping };

  Ready waitConst(short events, Clock::time_point until) const {
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
      if (left <= 0) return Ready::timeout;
      std::array<pollfd, 2> fds{{{sock_, events, 0}, {wake_, POLLIN, 0}}};
      const int ready = ::poll(fds.data(), fds.size(), static_cast<int>(std::min<long long>(left, 1000)));
      if (ready < 0 && errno != EINTR) return Ready::stopping;
      if (ready <= 0) continue;
      // A reply goes out while the socket takes it; reading stops at once.
      if (fds[0].revents && (events == POLLOUT || !fds[1].revents)) return Ready::socket;
      if (fds[1].revents) return Ready::stopping;
    }
  }
  Ready wait(short events, Clock::time_point until) { return waitConst(events, until); }
  Clock::time_point replyDeadline() const {
    return replyStarted_ ? replyDeadline_ : Clock::now() + limits_.reply;
  }

  bool fill() {
    switch (wait(POLLIN, deadline_)) {
    case Ready::timeout:
      return refuse(408), false;
    case Ready::stopping:
      return refuse(503), false;
    case Ready::socket:
      break;
    }
    ssize_t got;
    do
      got = ::recv(sock_, buffer_.data(), buffer_.size(), 0);
    while (got < 0 && errno == EINTR);
    if (got <= 0) return false;
    begin_ = 0;
    end_ = static_cast<std::size_t>(got);
    return true;
  }

  // Hands out at most the head's remaining bytes of the next `n`, counting
  // its lines; the empty line ends it.
  std::size_t countHead(std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      const char byte = buffer_[begin_ + i];
      if (++headBytes_ > limits_.headBytes) return refuse(431), 0;
      if (byte == '\r') continue;
      if (byte != '\n') {
        ++lineLength_;
        continue;
      }
      if (++headLines_ > limits_.headLines) return refuse(431), 0;
      const bool blank = lineLength_ == 0;
      lineLength_ = 0;
      if (blank && headLines_ > 1) {
        inHead_ = false;
        return i + 1;
      }
    }
    return n;
  }

  ssize_t refuse(int status) {
    refusal_ = status;
    return -1;
  }

  template <typename Query> void address(Query query, std::string &ip, int &port) const {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    ip.clear();
    port = 0;
    if (query(sock_, reinterpret_cast<sockaddr *>(&storage), &length) != 0) return;
    std::array<char, INET6_ADDRSTRLEN> text{};
    if (storage.ss_family == AF_INET) {
      const auto *in = reinterpret_cast<const sockaddr_in *>(&storage);
      ::inet_ntop(AF_INET, &in->sin_addr, text.data(), text.size());
      port = ntohs(in->sin_port);
    } else if (storage.ss_family == AF_INET6) {
      const auto *in = reinterpret_cast<const sockaddr_in6 *>(&storage);
      ::inet_ntop(AF_INET6, &in->sin6_addr, text.data(), text.size());
      port = ntohs(in->sin6_port);
    }
    ip = text.data();
  }

  int sock_, wake_;
  const ConnectionLimits &limits_;
  std::array<char, 16384> buffer_{};
  std::size_t begin_ = 0, end_ = 0;
  bool inHead_ = true, replyStarted_ = false, closeRequested_ = false;
  std::size_t headBytes_ = 0, headLines_ = 0, lineLength_ = 0, bodyBytes_ = 0;
  int refusal_ = 0;
  Clock::time_point deadline_ = Clock::now(), replyDeadline_ = Clock::now();
};

thread_local BoundedStream *tServing = nullptr;

} // namespace

BoundedServer::BoundedServer(ConnectionLimits limits) : limits_(limits) {
  if (::pipe2(wake_, O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
  new_task_queue = [workers = limits_.workers] { return new httplib::ThreadPool(workers); };
  // The port is this server's alone: the library's default shares it
  // (SO_REUSEPORT) with any other listener, and the kernel would split the
  // connections between them.
  set_socket_options([](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
}

BoundedServer::~BoundedServer() {
  for (int fd : wake_)
    if (fd >= 0) ::close(fd);
}

void BoundedServer::shutDown() {
  if (stopping_.exchange(true) || wake_[1] < 0) return;
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(wake_[1], &byte, 1);
}

int BoundedServer::readingRefusal() {
  return tServing ? tServing->refusal() : 0;
}

void BoundedServer::closeAfterReply() {
  if (tServing) tServing->requestClose();
}

bool BoundedServer::process_and_close_socket(socket_t sock) {
  BoundedStream stream(sock, limits_, wake_[0]);
  tServing = &stream;
  bool served = true;
  for (std::size_t count = 1; served && count <= limits_.requestsPerConnection; ++count) {
    if (stopping_ || !stream.awaitRequest()) break;
    bool closed = false;
    served =
        process_request(stream, count == limits_.requestsPerConnection, closed, [](httplib::Request &) {});
    if (stream.refusal() && !stream.replied()) {
      // Given up within the request line: the library, finding no request,
      // says nothing; the client is told why.
      const std::string body = nlohmann::json{{"error", refusalText(stream.refusal())}}.dump();
      const std::string head =
          "HTTP/1.1 " + std::to_string(stream.refusal()) +
          " Refused\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: " +
          std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
      stream.write(head.data(), head.size());
      stream.write(body.data(), body.size());
    }
    if (closed || stream.mustClose()) break;
  }
  tServing = nullptr;
  stream.close();
  return served;
}

} // namespace pello::cli
