#include "net/HttpClient.h"

#include <QByteArray>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QRandomGenerator>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <memory>

#include "util/Text.h"

namespace zolt {

struct HttpClient::Call {
    QNetworkReply* reply = nullptr;
    bool aborted = false;
};

HttpClient::HttpClient(QObject* parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)) {
    // One jar for the whole run, in memory only.
    manager_->setCookieJar(new QNetworkCookieJar(manager_));
    // Following a redirect from https down to http would leak the request.
    manager_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

HttpClient::~HttpClient() {
    Disconnect();
}

Result<QNetworkRequest> HttpClient::MakeRequest(const std::string& url) const {
    const QUrl target(ToQString(url));
    // Addresses come from the settings file: nothing but the web, never a
    // local file or another scheme the network manager would also serve.
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() || (scheme != "http" && scheme != "https") || target.host().isEmpty()) {
        return Fail("not an http address: " + url);
    }
    QNetworkRequest request(target);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(kUserAgent));
    request.setRawHeader("Accept", kAccept);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(stallTimeoutMs_);
    return request;
}

QByteArray HttpClient::MultipartBody(const FormFields& fields, const QByteArray& boundary) {
    QByteArray body;
    for (const auto& [name, value] : fields) {
        body += "--" + boundary + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + QByteArray::fromStdString(name) +
                "\"\r\n\r\n";
        body += QByteArray::fromStdString(value);
        body += "\r\n";
    }
    body += "--" + boundary + "--\r\n";
    return body;
}

namespace {

QByteArray RandomBoundary() {
    QByteArray b = "----------ZoltFormBoundary";
    for (int i = 0; i < 4; ++i) {
        b += QByteArray::number(QRandomGenerator::global()->generate(), 16);
    }
    return b;
}

bool Contains(const FormFields& fields, const QByteArray& boundary) {
    return std::any_of(fields.begin(), fields.end(), [&](const auto& f) {
        return QByteArray::fromStdString(f.second).contains(boundary);
    });
}

}  // namespace

Result<std::string> HttpClient::PostForm(const std::string& url, const FormFields& fields,
                                         std::int64_t maxBodySize) {
    Result<QNetworkRequest> request = MakeRequest(url);
    if (!request.ok()) {
        return request.failure();
    }
    QByteArray boundary = RandomBoundary();
    while (Contains(fields, boundary)) {
        boundary = RandomBoundary();
    }
    QNetworkRequest post = std::move(request).value();
    post.setHeader(QNetworkRequest::ContentTypeHeader,
                   QByteArray("multipart/form-data; boundary=") + boundary);
    const QByteArray body = MultipartBody(fields, boundary);
    return Run(manager_->post(post, body), maxBodySize < 0 ? maxBodySize_ : maxBodySize);
}

Result<std::string> HttpClient::Download(const std::string& url, std::int64_t maxBodySize) {
    const Result<QNetworkRequest> request = MakeRequest(url);
    if (!request.ok()) {
        return request.failure();
    }
    return Run(manager_->get(*request), maxBodySize < 0 ? maxBodySize_ : maxBodySize);
}

Status HttpClient::DownloadInto(const std::string& url, std::int64_t maxBodySize,
                                const BodySink& sink, const Progress& progress) {
    const Result<QNetworkRequest> request = MakeRequest(url);
    if (!request.ok()) {
        return request.failure();
    }
    return Run(manager_->get(*request), maxBodySize < 0 ? maxBodySize_ : maxBodySize, sink,
               progress);
}

Result<std::string> HttpClient::Run(QNetworkReply* reply, std::int64_t limit) {
    std::string body;
    const Status done = Run(reply, limit,
                            [&body](const char* data, std::int64_t size) {
                                body.append(data, static_cast<size_t>(size));
                                return true;
                            },
                            {});
    if (!done.ok()) {
        return done.failure();
    }
    return body;
}

Status HttpClient::Run(QNetworkReply* rawReply, std::int64_t limit, const BodySink& sink,
                       const Progress& progress) {
    // The reply is a child of the manager: if this client dies while we wait
    // (its window destroyed from inside the nested loop), the manager takes
    // the reply with it, so the guard below must not delete it again.
    QPointer<QNetworkReply> reply(rawReply);
    QPointer<HttpClient> self(this);
    Call call;
    call.reply = rawReply;
    calls_.push_back(&call);

    QEventLoop loop;
    std::int64_t received = 0;
    bool tooLarge = false;
    bool refused = false;
    auto success = [&] {
        const int status = rawReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status >= 200 && status < 300;
    };
    auto cut = [&] {
        // abort() emits finished() at once, which ends the loop.
        rawReply->abort();
    };
    connect(rawReply, &QNetworkReply::downloadProgress, &loop, [&](qint64 got, qint64 total) {
        if (total > limit && !tooLarge) {
            tooLarge = true;
            cut();
        } else if (progress && success()) {
            progress(got, total);
        }
    });
    connect(rawReply, &QNetworkReply::readyRead, &loop, [&] {
        if (tooLarge || refused) {
            return;
        }
        const QByteArray chunk = rawReply->readAll();
        received += chunk.size();
        if (received > limit) {
            tooLarge = true;
            cut();
            return;
        }
        // An error page is not the body the caller asked for.
        if (success() && !sink(chunk.constData(), chunk.size())) {
            refused = true;
            cut();
        }
    });
    connect(rawReply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!rawReply->isFinished()) {
        // Also left when the application quits: exit() ends every loop.
        loop.exec();
    }

    if (self.isNull()) {
        return QuietFail("the HTTP client was destroyed during the request");
    }
    calls_.erase(std::remove(calls_.begin(), calls_.end(), &call), calls_.end());
    std::unique_ptr<QNetworkReply> owned(reply.data());
    if (!owned) {
        return QuietFail("the request was cancelled");
    }
    if (!owned->isFinished()) {
        call.aborted = true;
        owned->abort();
    }
    if (call.aborted) {
        return QuietFail("the request was cancelled");
    }
    const auto tooLargeFailure = [&] {
        return Fail("the reply is larger than " + std::to_string(limit) + " bytes");
    };
    if (tooLarge) {
        return tooLargeFailure();
    }
    if (refused) {
        return Fail("the reply could not be kept");
    }
    if (owned->error() == QNetworkReply::OperationCanceledError) {
        // Nobody here cancelled it: the transfer timeout did.
        return Fail("the server sent nothing for " + std::to_string(stallTimeoutMs_) + " ms");
    }
    // A server that answered with an error status is told by that status,
    // not by the network layer's sentence, which repeats the whole address.
    const int status = owned->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 0 && !success()) {
        const std::string reason =
            FromQString(owned->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        return Fail("HTTP status " + std::to_string(status) + (reason.empty() ? "" : " " + reason));
    }
    if (owned->error() != QNetworkReply::NoError || !success()) {
        return Fail(FromQString(owned->errorString()));
    }
    // Whatever arrived with finished() but after the last readyRead.
    const QByteArray rest = owned->readAll();
    if (rest.size() > 0) {
        received += rest.size();
        if (received > limit) {
            return tooLargeFailure();
        }
        if (!sink(rest.constData(), rest.size())) {
            return Fail("the reply could not be kept");
        }
    }
    // A server that closes the connection early can reach finished() without
    // an error: a body shorter than announced is no body. (A compressed reply
    // announces the compressed length; it is not compared.)
    const QVariant announced = owned->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && !owned->hasRawHeader("Content-Encoding") &&
        received != announced.toLongLong()) {
        return Fail("the reply ended after " + std::to_string(received) + " of " +
                    std::to_string(announced.toLongLong()) + " bytes");
    }
    return {};
}

void HttpClient::Disconnect() {
    // Copy: aborting lets a waiting call end and unregister itself.
    const std::vector<Call*> calls = calls_;
    for (Call* call : calls) {
        call->aborted = true;
        if (call->reply != nullptr && !call->reply->isFinished()) {
            call->reply->abort();
        }
    }
    manager_->clearConnectionCache();
}

void HttpClient::CloseIdleConnections() {
    if (calls_.empty()) {
        manager_->clearConnectionCache();
    }
}

}  // namespace zolt
