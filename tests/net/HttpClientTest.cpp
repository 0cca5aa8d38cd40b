
#include <string>

#include <gtest/gtest.h>

#include "net/HttpClient.h"
#include "tests/support/ScriptedHttpServer.h"

namespace zolt {
namespace {

using test::HttpRequestSeen;
using test::ScriptedHttpServer;

TEST(HttpClient, PostsTheFieldsInOrderAsMultipartWithTheFixedHeaders) {
    ScriptedHttpServer server(
        [](const HttpRequestSeen&) { return ScriptedHttpServer::Reply(200, "reply body"); });
    HttpClient http;
    // Blanks, line breaks, a 0xAF byte and a would-be boundary stay as sent.
    const FormFields fields{{"memusername", "pub 1"},
                            {"prodcode", "a\r\nb"},
                            {"prodtype", "\xAF"},
                            {"conttype", "--x"},
                            {"something", ""}};
    EXPECT_EQ(http.PostForm(server.url("dir/getlastnews.php"), fields).value(), "reply body");

    ASSERT_EQ(server.requests().size(), 1u);
    const HttpRequestSeen& r = server.requests()[0];
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.target, "/dir/getlastnews.php");
    EXPECT_EQ(r.header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)");
    EXPECT_EQ(r.header("Accept"), "text/html, */*");
    const std::string type = r.header("Content-Type");
    ASSERT_EQ(type.rfind("multipart/form-data; boundary=", 0), 0u) << type;
    EXPECT_NE(type.back(), '"');
    EXPECT_EQ(r.formFields(), fields);
}

TEST(HttpClient, MultipartBodyHasOnePartPerFieldAndTheClosingDelimiter) {
    const QByteArray body = HttpClient::MultipartBody({{"a", "1"}, {"b", ""}}, "BND");
    EXPECT_EQ(body.toStdString(),
              "--BND\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n"
              "--BND\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\n\r\n"
              "--BND--\r\n");
}

TEST(HttpClient, StatusesOtherThanSuccessFail) {
    struct Row {
        int status;
        bool fails;
    } rows[] = {{200, false}, {204, false}, {404, true}, {500, true}, {403, true}};
    for (const Row& row : rows) {
        ScriptedHttpServer server([&](const HttpRequestSeen&) {
            return ScriptedHttpServer::Reply(row.status, row.status == 204 ? "" : "page OK");
        });
        HttpClient http;
        SCOPED_TRACE(row.status);
        const Result<std::string> posted = http.PostForm(server.url("x.php"), {{"a", "b"}});
        EXPECT_EQ(posted.ok(), !row.fails) << posted.error();
        EXPECT_FALSE(posted.quiet());
        EXPECT_EQ(http.Download(server.url("x.inf")).ok(), !row.fails);
    }
}

TEST(HttpClient, RefusedConnectionAndUnusableAddressesFail) {
    HttpClient http;
    const std::string refused =
        "http://127.0.0.1:" + std::to_string(ScriptedHttpServer::ClosedPort()) + "/x.php";
    for (const std::string& url : {refused, std::string("/getlastnews.php"), std::string(""),
                                   std::string("file:///etc/passwd")}) {
        SCOPED_TRACE(url);
        const Result<std::string> posted = http.PostForm(url, {});
        EXPECT_FALSE(posted.ok() || posted.quiet());
    }
}

TEST(HttpClient, FollowsARedirectSendingBackItsCookieAndKeepsTheJarForTheRun) {
    ScriptedHttpServer server([](const HttpRequestSeen& r) {
        if (r.target == "/start") {
            return ScriptedHttpServer::Reply(302, "moved",
                                             {"Location: /next", "Set-Cookie: sid=abc42; Path=/"});
        }
        return ScriptedHttpServer::Reply(200, "cookie=" + r.header("Cookie"));
    });
    HttpClient http;
    EXPECT_EQ(http.PostForm(server.url("start"), {{"a", "b"}}).value(), "cookie=sid=abc42");
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.requests()[1].target, "/next");
    EXPECT_EQ(server.requests()[1].header("User-Agent"), HttpClient::kUserAgent);

    EXPECT_EQ(http.Download(server.url("later")).value(), "cookie=sid=abc42");

    // Another client of the same run has its own, empty jar.
    HttpClient other;
    EXPECT_EQ(other.PostForm(server.url("later"), {}).value(), "cookie=");
}

TEST(HttpClient, RedirectToALocalFileIsRefused) {
    ScriptedHttpServer server([](const HttpRequestSeen&) {
        return ScriptedHttpServer::Reply(302, "", {"Location: file:///etc/hostname"});
    });
    HttpClient http;
    EXPECT_FALSE(http.PostForm(server.url("start"), {}).ok());
}

TEST(HttpClient, RepliesOverTheLimitFailAndTheLimitItselfPasses) {
    const std::string body(1000, 'x');
    struct Row {
        bool withLength;
    } rows[] = {{true}, {false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.withLength);
        ScriptedHttpServer server([&](const HttpRequestSeen&) {
            if (row.withLength) {
                return ScriptedHttpServer::Reply(200, body);
            }
            // No length: the body ends with the connection.
            return std::string("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n") + body;
        });
        HttpClient http;
        http.setMaxBodySize(999);
        EXPECT_FALSE(http.PostForm(server.url("a"), {}).ok());
        http.setMaxBodySize(1000);
        EXPECT_EQ(http.PostForm(server.url("a"), {}).value(), body);

        // A per-call limit overrides the client's.
        EXPECT_FALSE(http.Download(server.url("b"), 500).ok());
        EXPECT_EQ(http.Download(server.url("b"), 1000).value().size(), 1000u);
    }
}

TEST(HttpClient, DefaultLimitIsSixteenMebibytes) {
    EXPECT_EQ(HttpClient().maxBodySize(), 16 * 1024 * 1024);
}

}  // namespace
}  // namespace zolt
