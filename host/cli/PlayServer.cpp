#include "PlayServer.h"

#include "PlayConnection.h"
#include "PlayPage.h"
#include "pello/host/JsonLimits.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>
#include <thread>

namespace pello::cli {

namespace {

std::string randomToken() {
  std::random_device device;
  std::string token;
  static constexpr char kHex[] = "0123456789abcdef";
  for (int i = 0; i < 32; ++i)
    token += kHex[device() % 16];
  return token;
}

// Replies go uncompressed: the server answers only on this machine, where
// compressing a document's picture costs far more than sending it (the
// library compresses a plain "application/json" with brotli at its slowest
// setting when the browser accepts it: seconds for 10,000 objects).
constexpr const char *kJson = "application/json; charset=utf-8";

void reply(httplib::Response &response, const PlayHost::Reply &answer) {
  response.status = answer.status;
  response.set_content(answer.body.dump(-1, ' ', false, Json::error_handler_t::replace), kJson);
}

void refuse(httplib::Response &response, int status, const std::string &why) {
  reply(response, {status, Json{{"error", why}}});
}

// A request's body, read up to `limit` bytes as it comes, with a length or
// chunked; nothing (with the response set) when it is larger or cannot be
// read. The connection then closes: the rest of the body is never read.
std::optional<std::string> readBody(const httplib::Request &request, httplib::Response &response,
                                    const httplib::ContentReader &reader, std::size_t limit) {
  if (request.has_header("Content-Length") &&
      std::strtoull(request.get_header_value("Content-Length").c_str(), nullptr, 10) > limit) {
    BoundedServer::closeAfterReply();
    refuse(response, 413, refusalText(413));
    return std::nullopt;
  }
  std::string body;
  bool tooLarge = false;
  const bool read = reader([&](const char *data, std::size_t length) {
    tooLarge = length > limit - body.size();
    if (!tooLarge) body.append(data, length);
    return !tooLarge;
  });
  if (read) return body;
  BoundedServer::closeAfterReply();
  const int status = tooLarge ? 413 : BoundedServer::readingRefusal();
  refuse(response, status ? status : 400, status ? refusalText(status) : "the request's body cannot be read");
  return std::nullopt;
}

// The JSON of a small request's body; nothing (with the response set) when
// it is too large, nested too deep or not JSON.
std::optional<Json> smallBody(const httplib::Request &request, httplib::Response &response,
                              const httplib::ContentReader &reader) {
  std::optional<std::string> text = readBody(request, response, reader, PlayServer::kMaxRequestBytes);
  if (!text) return std::nullopt;
  try {
    return host::parseBoundedJson<Json>(*text);
  } catch (const host::JsonNestingError &e) {
    refuse(response, 400, std::string("the request is refused: ") + e.what());
  } catch (const Json::exception &) {
    refuse(response, 400, "the request is not JSON");
  }
  return std::nullopt;
}

ConnectionLimits connectionLimits() {
  ConnectionLimits limits;
  // An upload's body as sent: the document and a chunked upload's framing.
  limits.bodyBytes = PlayServer::kMaxDocumentBytes + (1u << 20);
  return limits;
}

} // namespace

bool sameServer(const std::string &hostHeader, const std::string &origin, int port) {
  const std::string portText = ":" + std::to_string(port);
  const bool hostOk = hostHeader == "127.0.0.1" + portText || hostHeader == "localhost" + portText;
  const bool originOk =
      origin.empty() || origin == "http://127.0.0.1" + portText || origin == "http://localhost" + portText;
  return hostOk && originOk;
}

bool sameSecret(const std::string &given, const std::string &expected) {
  unsigned char difference = given.size() == expected.size() ? 0 : 1;
  for (std::size_t i = 0; i < expected.size(); ++i)
    difference |= static_cast<unsigned char>(expected[i] ^ (i < given.size() ? given[i] : 0));
  return difference == 0;
}

struct PlayServer::Impl {
  BoundedServer server{connectionLimits()};
  std::atomic<bool> served{false};
};

PlayServer::PlayServer(PlayHost &host, std::string defaultDocument)
    : impl_(std::make_unique<Impl>()), token_(randomToken()) {
  httplib::Server &server = impl_->server;
  server.set_payload_max_length(kMaxDocumentBytes);
  // A reply's head and body go out in two writes: without this, the body's
  // last piece waits for the browser's delayed acknowledgement of the head.
  server.set_tcp_nodelay(true);
  server.set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &response) {
    if (!sameServer(request.get_header_value("Host"), request.get_header_value("Origin"), port_)) {
      BoundedServer::closeAfterReply(); // its body, if any, is left unread
      refuse(response, 403, "this server answers only its own pages");
      return httplib::Server::HandlerResponse::Handled;
    }
    const std::string given =
        request.path == "/" ? request.get_param_value("token") : request.get_header_value("X-Pello-Token");
    if (!sameSecret(given, token_)) {
      BoundedServer::closeAfterReply();
      refuse(response, 403, "the address's token is missing or wrong");
      return httplib::Server::HandlerResponse::Handled;
    }
    response.set_header("Cache-Control", "no-store");
    response.set_header("X-Content-Type-Options", "nosniff");
    return httplib::Server::HandlerResponse::Unhandled;
  });
  // The library's own refusals (a malformed request, a bound the connection
  // met, no such page) come without a body: each gets its JSON error.
  server.set_error_handler(
      httplib::Server::HandlerWithResponse([](const httplib::Request &, httplib::Response &response) {
        if (!response.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        const int given = BoundedServer::readingRefusal();
        const int status = given ? given : response.status;
        refuse(response, status, refusalText(status));
        return httplib::Server::HandlerResponse::Handled;
      }));

  server.Get("/", [](const httplib::Request &, httplib::Response &response) {
    response.set_header("Content-Security-Policy",
                        "default-src 'self'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
                        "img-src data:; connect-src 'self'");
    response.set_content(kPlayPage, "text/html; charset=utf-8");
  });
  server.Get("/api/state", [&host](const httplib::Request &, httplib::Response &response) {
    reply(response, host.state());
  });
  server.Get("/api/previous", [&host](const httplib::Request &, httplib::Response &response) {
    reply(response, host.previousPicture());
  });
  server.Get("/api/recording", [&host](const httplib::Request &, httplib::Response &response) {
    PlayHost::Reply recording = host.recording();
    response.status = recording.status;
    response.set_header("Content-Disposition", "attachment; filename=\"session.json\"");
    response.set_content(recording.body.dump(2, ' ', false, Json::error_handler_t::replace), kJson);
  });
  using Reader = httplib::ContentReader;
  server.Post("/api/step",
              [&host](const httplib::Request &request, httplib::Response &response, const Reader &reader) {
                std::optional<Json> step = smallBody(request, response, reader);
                if (step) reply(response, host.act(*step));
              });
  server.Post("/api/answer",
              [&host](const httplib::Request &request, httplib::Response &response, const Reader &reader) {
                std::optional<Json> body = smallBody(request, response, reader);
                if (!body) return;
                if (!body->is_object() || !body->contains("item") || !(*body)["item"].is_number_integer())
                  return refuse(response, 400, "an answer is {\"item\": ID}");
                reply(response, host.answer((*body)["item"].get<int>()));
              });
  server.Post("/api/document", [&host, defaultDocument](const httplib::Request &request,
                                                        httplib::Response &response, const Reader &reader) {
    std::optional<std::string> document = readBody(request, response, reader, kMaxDocumentBytes);
    if (!document) return;
    // The body is the document itself, or empty for the default one.
    if (document->empty()) return reply(response, host.open(defaultDocument, "the default document"));
    // The file's name comes percent-encoded (UTF-8): a header holds Latin-1 at most.
    const std::string name =
        httplib::detail::decode_url(request.get_header_value("X-Pello-Document-Name"), false);
    reply(response, host.open(*document, name.empty() ? "an uploaded document" : name));
  });
}

PlayServer::~PlayServer() = default;

bool PlayServer::bind(int port) {
  if (port == 0) {
    port_ = impl_->server.bind_to_any_port("127.0.0.1");
    return port_ > 0;
  }
  port_ = port;
  return impl_->server.bind_to_port("127.0.0.1", port);
}

std::string PlayServer::address() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + token_;
}

void PlayServer::serve() {
  impl_->server.listen_after_bind();
  impl_->served = true;
}

void PlayServer::stop() {
  impl_->server.shutDown();
  // The library stops only a server already listening.
  while (!impl_->served && !impl_->server.is_running())
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  impl_->server.stop();
}

} // namespace pello::cli
