// pello-host play's web server: the page and its API, on 127.0.0.1 only.
// Every request must name this server in its Host header (and in Origin,
// when it has one), which a page from another site reaching it through a
// rebound DNS name cannot; and carry the random token of the printed address
// (the page's address in its query, the API's requests in a header).
// Requests are bounded (see PlayConnection.h) and every error is answered
// with {"error": ...}; documents come only from the command line or the
// page's upload, never from a path in a request.
#pragma once

#include "PlayHost.h"

#include <memory>
#include <string>

namespace pello::cli {

class PlayServer {
public:
  // Bounds of a request's body: an uploaded document, anything else.
  static constexpr std::size_t kMaxDocumentBytes = 32u << 20;
  static constexpr std::size_t kMaxRequestBytes = 64u << 10;

  PlayServer(PlayHost &host, std::string defaultDocument);
  ~PlayServer();
  PlayServer(const PlayServer &) = delete;
  PlayServer &operator=(const PlayServer &) = delete;

  // Binds 127.0.0.1:`port` (0: a free port); false when it cannot.
  bool bind(int port);
  int port() const { return port_; }
  const std::string &token() const { return token_; }
  // The page's address, with the token.
  std::string address() const;
  // Serves until stop() (from another thread).
  void serve();
  void stop();

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int port_ = 0;
  std::string token_;
};

// Whether a request with these Host and Origin headers ("" when absent) is
// one of this server's own, on `port`.
bool sameServer(const std::string &hostHeader, const std::string &origin, int port);
// Whether two strings are equal, in a time that does not depend on where they differ.
bool sameSecret(const std::string &given, const std::string &expected);

} // namespace pello::cli
