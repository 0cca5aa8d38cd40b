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
using test::Recorder;
using test::ScriptedHttpServer;

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
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    Services services = test::MakeRecordingServices(recorder, "/nonexistent");
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
        EXPECT_TRUE(ClientOf(withSlash, f.http)->LastNews(f.services));
        EXPECT_TRUE(ClientOf(without, f.http)->LastNewsCode());
        EXPECT_TRUE(ClientOf(withSlash, f.http)->NewsDetails(f.services, Id("42")));

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
        EXPECT_TRUE(f.recorder->messages.empty());
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
    EXPECT_TRUE(f.recorder->messages.empty());
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
    EXPECT_EQ(client->LastNews(f.services), (NewsLineList{"9^Nine^d9", "8^Eight^d8"}));
    const std::optional<LatestNews> latest = client->LastNewsCode();
    ASSERT_TRUE(latest && latest->id);
    EXPECT_EQ(latest->id->text(), "9");
    EXPECT_EQ(latest->title, "Nine");
    EXPECT_EQ(client->NewsDetails(f.services, Id("9")), "<b>Hi</b>");
    EXPECT_TRUE(f.recorder->messages.empty());
}

TEST(NewsProtocol, FailuresShowTheirWarningExceptForTheLastCode) {
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
        EXPECT_FALSE(client->LastNews(f.services));
        EXPECT_FALSE(client->LastNewsCode());
        EXPECT_FALSE(client->NewsDetails(f.services, Id("3")));

        std::vector<std::string> expected;
        for (const std::string& m : {row.listMessage, row.detailsMessage}) {
            if (!m.empty()) {
                expected.push_back(m);
            }
        }
        EXPECT_EQ(f.recorder->messageTexts(), expected);
        for (const auto& m : f.recorder->messages) {
            EXPECT_EQ(m.kind, MessageKind::Warning);
        }
    }
}

TEST(NewsProtocol, EmptyBaseUrlCountsAsNoAnswer) {
    auto recorder = std::make_shared<Recorder>();
    const Services services = test::MakeRecordingServices(recorder, "/nonexistent");
    HttpClient http;
    EXPECT_FALSE(ClientOf(Brand("Master", ""), http)->LastNews(services));
    EXPECT_EQ(recorder->messageTexts(), std::vector<std::string>{kNewsAccessFailedMessage});
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
    EXPECT_FALSE(ClientOf(brand, f.http)->LastNews(f.services));
    EXPECT_FALSE(ClientOf(brand, f.http)->NewsDetails(f.services, Id("1")));
    EXPECT_TRUE(f.recorder->messages.empty());
}

}  // namespace
}  // namespace zolt
