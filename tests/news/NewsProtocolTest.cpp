#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "net/HttpClient.h"
#include "news/NewsClient.h"
#include "news/NewsReply.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"

namespace zolt {
namespace {

using test::HttpRequestSeen;
using test::ScriptedHttpServer;
using test::ShownFailure;

const std::string S = "\xAF";

// A brand of `level` whose own channel points at `baseUrl`; the other
// levels' addresses and ids are decoys that must never be used.
BrandSettingsRecord Brand(const std::string& level, const std::string& baseUrl,
                          const std::string& publisher = "PUB1") {
    BrandSettingsRecord b;
    b.BranderType = level;
    b.BranderCode = "BRAND7";
    b.MasterNewsBaseURL = "http://127.0.0.1:1/master";
    b.PlatinumNewsBaseURL = "http://127.0.0.1:1/platinum";
    b.GoldNewsBaseURL = "http://127.0.0.1:1/gold";
    b.MasterPublID = "decoy-m";
    b.PlatinumPublID = "decoy-p";
    b.GoldPublID = "decoy-g";
    if (level == "Master") {
        b.MasterNewsBaseURL = baseUrl;
        b.MasterPublID = publisher;
    } else if (level == "Platinum") {
        b.PlatinumNewsBaseURL = baseUrl;
        b.PlatinumPublID = publisher;
    } else if (level == "Gold") {
        b.GoldNewsBaseURL = baseUrl;
        b.GoldPublID = publisher;
    }
    return b;
}

struct Fixture {
    explicit Fixture(ScriptedHttpServer::Handler handler) : server(std::move(handler)) {}
    HttpClient http;
    ScriptedHttpServer server;
};

// The brand's client; a brand without a channel to ask has none.
std::optional<NewsClient> ClientOf(const BrandSettingsRecord& brand, HttpClient& http) {
    return NewsClient::For(NewsChannel(brand), http);
}

NewsId Id(const char* text) {
    return NewsId::Parse(text).value();
}

ScriptedHttpServer::Handler Always(const std::string& body, int status = 200) {
    return [=](const HttpRequestSeen&) { return ScriptedHttpServer::Reply(status, body); };
}

TEST(NewsProtocol, EachLevelSendsTheThreeRequestsWithItsIdentity) {
    struct Row {
        std::string level;
        std::string code;
    } rows[] = {{"Master", "BM"}, {"Platinum", "BP"}, {"Gold", "BG"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.level);
        Fixture f(Always("OK"));
        // With and without the "/" at the end of the base URL.
        const BrandSettingsRecord withSlash = Brand(row.level, f.server.url("news/"));
        const BrandSettingsRecord without = Brand(row.level, f.server.url("news"));
        EXPECT_TRUE(ClientOf(withSlash, f.http)->LastNews().ok());
        EXPECT_TRUE(ClientOf(without, f.http)->LastNewsCode().ok());
        EXPECT_TRUE(ClientOf(withSlash, f.http)->NewsDetails(Id("42")).ok());

        const FormFields identity{
            {"memusername", "PUB1"}, {"prodcode", "BRAND7"}, {"prodtype", row.code}};
        auto with = [&](FormFields tail) {
            FormFields all = identity;
            all.insert(all.end(), tail.begin(), tail.end());
            return all;
        };
        const auto& r = f.server.requests();
        ASSERT_EQ(r.size(), 3u);
        EXPECT_EQ(r[0].target, "/news/getlastnews.php");
        EXPECT_EQ(r[0].formFields(),
                  with({{"conttype", "all"}, {"newstarget", "UA"}, {"something", ""}}));
        EXPECT_EQ(r[1].target, "/news/getlastnews.php");
        EXPECT_EQ(r[1].formFields(),
                  with({{"conttype", "lastcode"}, {"newstarget", "UA"}, {"something", ""}}));
        EXPECT_EQ(r[2].target, "/news/getnewsdetails.php");
        EXPECT_EQ(r[2].formFields(),
                  with({{"newsid", "42"}, {"newstarget", "UA"}, {"something", ""}}));
        for (const auto& request : r) {
            EXPECT_EQ(request.method, "POST");
        }
    }
}

TEST(NewsProtocol, NoChannelOrNoPublisherIdMakesNoRequestAndShowsNothing) {
    Fixture f(Always("OK"));
    const std::vector<BrandSettingsRecord> brands{
        Brand("Free", f.server.url()), Brand("gold", f.server.url()), Brand("", f.server.url()),
        Brand("Gold", f.server.url(), "")};
    for (const auto& brand : brands) {
        SCOPED_TRACE(brand.BranderType);
        EXPECT_FALSE(ClientOf(brand, f.http));
    }
    EXPECT_TRUE(f.server.requests().empty());
}

TEST(NewsProtocol, SuccessfulRepliesAreTrimmedAndParsed) {
    Fixture f([](const HttpRequestSeen& r) {
        const auto fields = r.formFields();
        std::string body;
        if (r.target == "/getnewsdetails.php") {
            body = "\r\n $3Cb$3EHi$3C$2Fb$3E" + S + "OK\r\n";
        } else if (fields.size() > 3 && fields[3].second == "lastcode") {
            body = "  9^Nine" + S + "OK\n";
        } else {
            body = "\t9^Nine^d9" + S + "8^Eight^d8" + S + "OK \r\n";
        }
        return ScriptedHttpServer::Reply(200, body);
    });
    const BrandSettingsRecord brand = Brand("Gold", f.server.url());
    const std::optional<NewsClient> client = ClientOf(brand, f.http);
    EXPECT_EQ(client->LastNews().value(), (NewsLineList{"9^Nine^d9", "8^Eight^d8"}));
    const Result<LatestNews> latest = client->LastNewsCode();
    ASSERT_TRUE(latest.ok() && latest->id);
    EXPECT_EQ(latest->id->text(), "9");
    EXPECT_EQ(latest->title, "Nine");
    EXPECT_EQ(client->NewsDetails(Id("9")).value(), "<b>Hi</b>");
}

TEST(NewsProtocol, FailuresCarryTheirWarningExceptForTheLastCode) {
    const std::string tooBig(HttpClient::kDefaultMaxBodySize + 1, 'x');
    struct Row {
        std::string name;
        std::optional<ScriptedHttpServer::Handler> handler;  // none: refused
        std::string listMessage;
        std::string detailsMessage;
    } rows[] = {
        {"404", Always("OK", 404), kNewsAccessFailedMessage, kNewsAccessFailedMessage},
        {"500", Always("OK", 500), kNewsAccessFailedMessage, kNewsAccessFailedMessage},
        {"refused", std::nullopt, kNewsAccessFailedMessage, kNewsAccessFailedMessage},
        {"empty body", Always(" \r\n"), kNewsAccessFailedMessage, kNewsAccessFailedMessage},
        {"too large", Always(tooBig), kNewsAccessFailedMessage, kNewsAccessFailedMessage},
        {"user", Always("INVALIDUSER\r\n"), kNewsInvalidUserMessage, kNewsInvalidUserMessage},
        {"lower case", Always("invaliduser"), "", ""},
        {"product", Always(" INVALIDPRODUCT"), kNewsInvalidProductMessage,
         kNewsInvalidProductMessage},
        {"database", Always("CONNECTIONFAIL"), kNewsConnectionFailMessage,
         kNewsConnectionFailMessage},
        {"news", Always("INVALIDNEWS"), "", kNewsInvalidNewsMessage},
        {"error page", Always("<html>Bad TOKEN</html>"), "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Fixture f(row.handler.value_or(Always("OK")));
        const std::string base =
            row.handler
                ? f.server.url("n/")
                : "http://127.0.0.1:" + std::to_string(ScriptedHttpServer::ClosedPort()) + "/n/";
        const std::optional<NewsClient> client = ClientOf(Brand("Platinum", base), f.http);
        EXPECT_EQ(ShownFailure(client->LastNews()), row.listMessage);
        EXPECT_EQ(ShownFailure(client->LastNewsCode()), "");
        EXPECT_EQ(ShownFailure(client->NewsDetails(Id("3"))), row.detailsMessage);
    }
}

TEST(NewsProtocol, EmptyBaseUrlCountsAsNoAnswer) {
    HttpClient http;
    EXPECT_EQ(ShownFailure(ClientOf(Brand("Master", ""), http)->LastNews()),
              kNewsAccessFailedMessage);
}

TEST(NewsProtocol, ARequestCutShortByDisconnectStaysQuiet) {
    Fixture f([](const HttpRequestSeen&) { return std::optional<std::string>(); });
    const BrandSettingsRecord brand = Brand("Gold", f.server.url());
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!f.server.requests().empty()) {
            f.http.Disconnect();
        }
    });
    timer.start(5);
    EXPECT_EQ(ShownFailure(ClientOf(brand, f.http)->LastNews()), "");
    EXPECT_EQ(ShownFailure(ClientOf(brand, f.http)->NewsDetails(Id("1"))), "");
}

}  // namespace
}  // namespace zolt
