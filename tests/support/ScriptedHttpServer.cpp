#include "tests/support/ScriptedHttpServer.h"

#include <QTcpSocket>

#include <algorithm>
#include <stdexcept>

namespace zolt::test {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string TrimBlanks(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) {
        return "";
    }
    const size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

const char* Reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

}  // namespace

std::string HttpRequestSeen::header(const std::string& name) const {
    const std::string wanted = Lower(name);
    for (const auto& [n, v] : headers) {
        if (Lower(n) == wanted) {
            return v;
        }
    }
    return "";
}

std::vector<std::pair<std::string, std::string>> HttpRequestSeen::formFields() const {
    std::vector<std::pair<std::string, std::string>> fields;
    const std::string type = header("Content-Type");
    const size_t at = type.find("boundary=");
    if (at == std::string::npos) {
        return fields;
    }
    std::string boundary = type.substr(at + 9);
    if (boundary.size() >= 2 && boundary.front() == '"') {
        boundary = boundary.substr(1, boundary.find('"', 1) - 1);
    }
    const std::string delimiter = "--" + boundary;
    size_t pos = body.find(delimiter);
    while (pos != std::string::npos) {
        pos += delimiter.size();
        if (body.compare(pos, 2, "--") == 0) {
            break;  // closing delimiter
        }
        pos += 2;  // CR LF after the delimiter
        const size_t headEnd = body.find("\r\n\r\n", pos);
        if (headEnd == std::string::npos) {
            break;
        }
        const std::string head = body.substr(pos, headEnd - pos);
        const size_t next = body.find("\r\n" + delimiter, headEnd + 4);
        if (next == std::string::npos) {
            break;
        }
        std::string name;
        const size_t n = head.find("name=\"");
        if (n != std::string::npos) {
            name = head.substr(n + 6, head.find('"', n + 6) - (n + 6));
        }
        fields.emplace_back(name, body.substr(headEnd + 4, next - (headEnd + 4)));
        pos = next + 2;
    }
    return fields;
}

ScriptedHttpServer::ScriptedHttpServer(Handler handler) : handler_(std::move(handler)) {
    if (!server_.listen(QHostAddress::LocalHost, 0)) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { onConnection(); });
}

ScriptedHttpServer::~ScriptedHttpServer() {
    server_.close();
    for (auto& [socket, buffer] : sockets_) {
        socket->disconnect();
        socket->abort();
        delete socket;
    }
}

int ScriptedHttpServer::port() const {
    return server_.serverPort();
}

std::string ScriptedHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port()) + "/" + path;
}

std::string ScriptedHttpServer::Reply(int status, const std::string& body,
                                      const std::vector<std::string>& extraHeaders) {
    std::string reply = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
    reply += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    reply += "Connection: close\r\n";
    for (const auto& h : extraHeaders) {
        reply += h + "\r\n";
    }
    return reply + "\r\n" + body;
}

int ScriptedHttpServer::ClosedPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    const int port = probe.serverPort();
    probe.close();
    return port;
}

void ScriptedHttpServer::onConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        // Owned here, not by the server, so the destructor decides its end.
        socket->setParent(nullptr);
        sockets_.emplace_back(socket, std::make_shared<std::string>());
        QObject::connect(socket, &QTcpSocket::readyRead, &server_,
                         [this, socket] { onData(socket); });
        QObject::connect(socket, &QTcpSocket::disconnected, &server_, [this, socket] {
            auto it = std::find_if(sockets_.begin(), sockets_.end(),
                                   [socket](const auto& s) { return s.first == socket; });
            if (it != sockets_.end()) {
                sockets_.erase(it);
                socket->deleteLater();
            }
        });
    }
}

void ScriptedHttpServer::onData(QTcpSocket* socket) {
    auto it = std::find_if(sockets_.begin(), sockets_.end(),
                           [socket](const auto& s) { return s.first == socket; });
    if (it == sockets_.end()) {
        return;
    }
    std::string& buffer = *it->second;
    buffer += socket->readAll().toStdString();
    for (;;) {
        const size_t headEnd = buffer.find("\r\n\r\n");
        if (headEnd == std::string::npos) {
            return;
        }
        HttpRequestSeen request;
        const std::string head = buffer.substr(0, headEnd);
        size_t lineEnd = head.find("\r\n");
        const std::string requestLine = head.substr(0, lineEnd);
        const size_t s1 = requestLine.find(' ');
        const size_t s2 = requestLine.find(' ', s1 + 1);
        request.method = requestLine.substr(0, s1);
        request.target = requestLine.substr(s1 + 1, s2 - s1 - 1);
        while (lineEnd != std::string::npos) {
            const size_t start = lineEnd + 2;
            lineEnd = head.find("\r\n", start);
            const std::string line = head.substr(
                start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
            const size_t colon = line.find(':');
            if (colon != std::string::npos) {
                request.headers.emplace_back(TrimBlanks(line.substr(0, colon)),
                                             TrimBlanks(line.substr(colon + 1)));
            }
        }
        const std::string lengthText = request.header("Content-Length");
        const size_t length = lengthText.empty() ? 0 : std::stoul(lengthText);
        if (buffer.size() < headEnd + 4 + length) {
            return;
        }
        request.body = buffer.substr(headEnd + 4, length);
        buffer.erase(0, headEnd + 4 + length);
        requests_.push_back(request);
        const std::optional<std::string> reply = handler_(request);
        if (!reply) {
            continue;  // stay silent, keep the connection open
        }
        socket->write(reply->data(), static_cast<qint64>(reply->size()));
        socket->disconnectFromHost();
        return;
    }
}

}  // namespace zolt::test
