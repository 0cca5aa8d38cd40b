#pragma once

#include <QTcpServer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QTcpSocket;

namespace zolt::test {

// One request as the server read it off the wire.
struct HttpRequestSeen {
    std::string method;
    std::string target;  // path and query, as sent
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // Value of the first header of that name (case-insensitive), "" if none.
    std::string header(const std::string& name) const;
    // The parts of a multipart/form-data body: (name, content) in order.
    std::vector<std::pair<std::string, std::string>> formFields() const;
};

// A raw HTTP/1.1 server on 127.0.0.1 and a free port, for the cases a real
// web server will not produce on demand (error statuses, silence, huge or
// odd replies, redirects with cookies). Each request goes to the handler,
// which returns the whole reply as bytes, or nothing to never answer (the
// connection stays open until the server dies). Runs in the caller's thread,
// so it needs the event loop, which blocking HTTP calls keep running.
// Compile ScriptedHttpServer.cpp into the test that uses it.
class ScriptedHttpServer {
  public:
    using Handler = std::function<std::optional<std::string>(const HttpRequestSeen&)>;

    explicit ScriptedHttpServer(Handler handler);
    ~ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

    int port() const;
    // "http://127.0.0.1:PORT/" followed by `path`.
    std::string url(const std::string& path = "") const;
    const std::vector<HttpRequestSeen>& requests() const { return requests_; }
    // Connections the server has accepted and not yet seen closed.
    int openConnections() const { return static_cast<int>(sockets_.size()); }

    // A whole reply: status line, Content-Length, "Connection: close", the
    // extra header lines (without CR LF), a blank line and the body.
    static std::string Reply(int status, const std::string& body,
                             const std::vector<std::string>& extraHeaders = {});

    // A port on 127.0.0.1 where nothing listens: connections are refused.
    static int ClosedPort();

  private:
    void onConnection();
    void onData(QTcpSocket* socket);

    Handler handler_;
    QTcpServer server_;
    std::vector<HttpRequestSeen> requests_;
    std::vector<std::pair<QTcpSocket*, std::shared_ptr<std::string>>> sockets_;
};

}  // namespace zolt::test
