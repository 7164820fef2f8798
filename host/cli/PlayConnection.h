// The connections of pello-host play's web server, each served within
// bounds: a request's head (its line and headers) and its body are bounded
// in bytes whether the body comes with a length or chunked, every request
// must arrive whole within a deadline from its first byte, a reply must be
// taken within one too, and an idle connection is closed. A slow or hostile
// client holds one worker for at most that long; shutDown() ends every
// connection's wait at once.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace pello::cli {

// What a refusal with this HTTP status tells the client.
std::string refusalText(int status);

struct ConnectionLimits {
  std::size_t headBytes = 32u << 10;
  std::size_t headLines = 100;
  std::size_t bodyBytes = 64u << 20; // as sent: chunked framing included
  std::chrono::milliseconds idle{5000};
  std::chrono::milliseconds request{15000};
  std::chrono::milliseconds reply{30000};
  std::size_t requestsPerConnection = 1000;
  std::size_t workers = 32; // connections served at once; more wait their turn
};

class BoundedServer : public httplib::Server {
public:
  explicit BoundedServer(ConnectionLimits limits);
  ~BoundedServer() override;
  BoundedServer(const BoundedServer &) = delete;
  BoundedServer &operator=(const BoundedServer &) = delete;

  // Wakes every connection waiting for its client; call before stop().
  void shutDown();

  // For handlers, on the thread serving the request. The status the
  // connection gave up reading with (408, 413, 431, 503; 0 when it did not).
  static int readingRefusal();
  // The connection closes after this reply (its body was left unread).
  static void closeAfterReply();

private:
  bool process_and_close_socket(socket_t sock) override;

  ConnectionLimits limits_;
  int wake_[2] = {-1, -1}; // a pipe, written once by shutDown()
  std::atomic<bool> stopping_{false};
};

} // namespace pello::cli
