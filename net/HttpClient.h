#pragma once

#include <QNetworkRequest>
#include <QObject>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "util/Result.h"

class QByteArray;
class QNetworkAccessManager;
class QNetworkReply;

namespace zolt {

using FormFields = std::vector<std::pair<std::string, std::string>>;

// The program's one HTTP client. Calls block their caller while the event
// loop keeps running, so the window repaints and stays usable; several calls
// may therefore be under way at once, each waiting in its own nested loop.
// A call fails on any connection or protocol error and any status that is
// not a success, saying why ("HTTP status 404 Not Found", "Connection
// refused"), for
// the caller to say what it asked. The failure is quiet when
// the call was cut short on our side (Disconnect(), the client destroyed, the
// application quitting): a closing program tells nobody.
class HttpClient : public QObject {
    Q_OBJECT
  public:
    static constexpr std::int64_t kDefaultMaxBodySize = 16 * 1024 * 1024;
    static constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)";
    static constexpr const char* kAccept = "text/html, */*";
    // A call that receives nothing for this long fails as an unreachable
    // server would, so a silent server cannot hold the program forever.
    static constexpr int kDefaultStallTimeoutMs = 60 * 1000;

    explicit HttpClient(QObject* parent = nullptr);
    // Aborts the calls under way; they fail quietly.
    ~HttpClient() override;

    // POST of multipart/form-data, one part per field in order; the body of
    // the reply. `maxBodySize` < 0: the client's limit.
    Result<std::string> PostForm(const std::string& url, const FormFields& fields,
                                 std::int64_t maxBodySize = -1);
    // GET, the body in memory.
    Result<std::string> Download(const std::string& url, std::int64_t maxBodySize = -1);
    // Takes each piece of a reply body as it arrives; false stops the call.
    using BodySink = std::function<bool(const char* data, std::int64_t size)>;
    // Told the bytes received so far and the total the server announced (-1
    // when it announced none).
    using Progress = std::function<void(std::int64_t received, std::int64_t total)>;
    // GET, the body handed to `sink` piece by piece and never held whole, for
    // downloads of any size up to `maxBodySize`; it fails also when the sink
    // refused a piece.
    Status DownloadInto(const std::string& url, std::int64_t maxBodySize, const BodySink& sink,
                        const Progress& progress = {});
    // Aborts whatever is in flight (the waiting calls fail quietly) and
    // closes the connections.
    void Disconnect();
    // Closes kept-alive connections, unless a call is still under way: one
    // caller finishing must not cut another caller's request.
    void CloseIdleConnections();

    // Largest reply body accepted; a larger one fails the call.
    void setMaxBodySize(std::int64_t bytes) { maxBodySize_ = bytes; }
    std::int64_t maxBodySize() const { return maxBodySize_; }
    // How long a call may go without receiving a byte; 0 waits for ever.
    void setStallTimeout(int milliseconds) { stallTimeoutMs_ = milliseconds; }

    // Number of calls waiting for their reply.
    int callsInFlight() const { return static_cast<int>(calls_.size()); }

    // The multipart body of `fields` with `boundary`; exposed for tests.
    static QByteArray MultipartBody(const FormFields& fields, const QByteArray& boundary);

  private:
    struct Call;

    Result<QNetworkRequest> MakeRequest(const std::string& url) const;
    Result<std::string> Run(QNetworkReply* reply, std::int64_t limit);
    Status Run(QNetworkReply* reply, std::int64_t limit, const BodySink& sink,
               const Progress& progress);

    QNetworkAccessManager* manager_;
    std::int64_t maxBodySize_ = kDefaultMaxBodySize;
    int stallTimeoutMs_ = kDefaultStallTimeoutMs;
    std::vector<Call*> calls_;
};

}  // namespace zolt
