#include <QDir>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "net/HttpClient.h"
#include "news/NewsClient.h"
#include "news/NewsReply.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempDir.h"
#include "util/SafeSave.h"

namespace zolt {
namespace {

using test::HttpRequestSeen;
using test::ScriptedHttpServer;

// Each failure of a file save, a download and a news request reaches its
// caller with the words the user then reads; "" for one that tells nobody.
// Windows words its own reasons: there the rows ask for one after the
// sentence's fixed part.
TEST(FailureReason, EachFailureCarriesTheReasonTheUserReads) {
    test::TempDir dir;
    ScriptedHttpServer server([](const HttpRequestSeen& r) {
        if (r.target == "/news/getlastnews.php") {
            return ScriptedHttpServer::Reply(200, "INVALIDUSER");
        }
        return ScriptedHttpServer::Reply(r.target == "/big" ? 200 : 404, "0123456789");
    });
    HttpClient http;
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(ScriptedHttpServer::ClosedPort()) + "/";
    const auto news = [&](const std::string& base) {
        const NewsChannelInfo channel{base, "PUB", "BG", "P", true};
        return test::ShownFailure(NewsClient::For(channel, http)->LastNews());
    };
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("folder"))));
    struct Row {
        const char* what;
        std::function<std::string()> fail;
        std::string reason;
        bool systemWords;  // Windows puts the reason after ": " in words of its own
    } rows[] = {
        {"save into a missing folder",
         [&] { return test::ShownFailure(SaveFileReplacing(dir.file("no/x.dat"), "x")); },
         "cannot write \"" + dir.file("no/x.dat") + "\": No such file or directory", true},
        {"save over a folder",
         [&] { return test::ShownFailure(SaveFileReplacing(dir.file("folder"), "x")); },
         "cannot write \"" + dir.file("folder") + "\": Is a directory", true},
        {"download refused", [&] { return test::ShownFailure(http.Download(refused + "x")); },
         "Connection refused", false},
        {"download missing", [&] { return test::ShownFailure(http.Download(server.url("x"))); },
         "HTTP status 404 Not Found", false},
        {"download too large",
         [&] { return test::ShownFailure(http.Download(server.url("big"), 9)); },
         "the reply is larger than 9 bytes", false},
        {"news site unreachable", [&] { return news(refused); }, kNewsAccessFailedMessage, false},
        {"news refused", [&] { return news(server.url("news")); }, kNewsInvalidUserMessage, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string shown = row.fail();
#ifdef _WIN32
        if (row.systemWords) {
            const std::string fixed = row.reason.substr(0, row.reason.rfind("\": ") + 3);
            EXPECT_EQ(shown.substr(0, fixed.size()), fixed);
            EXPECT_GT(shown.size(), fixed.size());
            continue;
        }
#endif
        EXPECT_EQ(shown, row.reason);
    }
}

}  // namespace
}  // namespace zolt
