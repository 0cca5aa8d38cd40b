#pragma once

#include <QObject>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

namespace zolt {

// Raised for any connection or protocol error and any status that is not a
// success.
class HttpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using FormFields = std::vector<std::pair<std::string, std::string>>;

// The program's one HTTP client. Calls block their caller while the event
// loop keeps running, so the window repaints and stays usable.
class HttpClient : public QObject {
    Q_OBJECT
public:
    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;

    // POST of multipart/form-data, one part per field in order; the body of
    // the reply. Raises HttpError.
    std::string PostForm(const std::string& url, const FormFields& fields);
    // GET, the body written into the open `file`. Raises HttpError.
    void GetToFile(const std::string& url, QIODevice& file);
    // Aborts whatever is in flight; the waiting call raises.
    void Disconnect();

    // Largest reply body accepted; a larger one fails the call.
    void setMaxBodySize(std::int64_t bytes) { maxBodySize_ = bytes; }
    std::int64_t maxBodySize() const { return maxBodySize_; }

private:
    QNetworkAccessManager* manager_;
    std::int64_t maxBodySize_ = 16 * 1024 * 1024;
};

}  // namespace zolt
