#include <QProcessEnvironment>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "net/HttpClient.h"
#include "news/NewsClient.h"
#include "news/NewsItem.h"
#include "news/NewsNotification.h"
#include "news/NewsReply.h"
#include "tests/support/PhpServer.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"

namespace zolt {
namespace {

using test::PhpServer;
using test::ShownFailure;
using test::TempDir;

std::string ServerDir() {
    return test::SourceDir() + "/server/news";
}

// The reference news server over php -S with its own SQLite database,
// seeded through its admin script as a reseller would.
class NewsServer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (test::PhpBinary().empty()) {
            return;
        }
        dir_ = new TempDir;
        dsn_ = "sqlite:" + dir_->file("news.db");
        Admin({"init"});
        Admin({"add-publisher", "PUBM", "Master"});
        Admin({"add-publisher", "PUBP", "Platinum"});
        Admin({"add-publisher", "PUBG", "BG"});
        Admin({"add-product", "BRAND7"});
        Admin({"add-product", "OTHER"});
        firstId_ =
            Admin({"add-news", "PUBG", "BRAND7", "First", "2026-12-08", "-"}, "<p>Hello</p>");
        otherId_ = Admin({"add-news", "PUBG", "OTHER", "Elsewhere", "2026-12-09", "-"}, "x");
        secondId_ = Admin({"add-news", "PUBG", "*", "Second", "10 Dec 2026", "-"},
                          "<b>Two &amp; more</b>\r\n");
        masterId_ =
            Admin({"add-news", "PUBM", "BRAND7", "For masters", "2026-12-11", "-"}, "<i>m</i>");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ZOLT_NEWS_DSN", QString::fromStdString(dsn_));
        server_ = new PhpServer(ServerDir() + "/public", "", env);
    }
    static void TearDownTestSuite() {
        delete server_;
        delete dir_;
        server_ = nullptr;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (server_ == nullptr) {
            GTEST_SKIP() << "php is not installed";
        }
    }

    // Runs admin.php on the test database; its output trimmed (the new id
    // for add-news).
    static std::string Admin(const std::vector<std::string>& args, const std::string& input = "") {
        QStringList list{QString::fromStdString(ServerDir() + "/admin.php"),
                         QString::fromStdString("--dsn=" + dsn_)};
        for (const auto& a : args) {
            list << QString::fromStdString(a);
        }
        std::string out;
        const int code = test::RunPhp(list, &out, input);
        EXPECT_EQ(code, 0) << args[0] << ": " << out;
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
            out.pop_back();
        }
        return out;
    }

    static BrandSettingsRecord Brand(const std::string& level, const std::string& publisher,
                                     const std::string& product = "BRAND7") {
        BrandSettingsRecord b;
        b.BranderType = level;
        b.BranderCode = product;
        // Without the "/" at the end for one level, with it for the others.
        b.MasterNewsBaseURL = server_->url("");
        b.PlatinumNewsBaseURL = server_->url("");
        b.GoldNewsBaseURL = server_->url("").substr(0, server_->url("").size() - 1);
        b.MasterPublID = b.PlatinumPublID = b.GoldPublID = publisher;
        return b;
    }
    NewsClient Client(const BrandSettingsRecord& brand) {
        return NewsClient::For(NewsChannel(brand), http_).value();
    }
    static NewsId Id(const std::string& text) { return NewsId::Parse(text).value(); }

    HttpClient http_;

    static TempDir* dir_;
    static PhpServer* server_;
    static std::string dsn_;
    static std::string firstId_, otherId_, secondId_, masterId_;
};

TempDir* NewsServer::dir_ = nullptr;
PhpServer* NewsServer::server_ = nullptr;
std::string NewsServer::dsn_;
std::string NewsServer::firstId_, NewsServer::otherId_, NewsServer::secondId_,
    NewsServer::masterId_;

TEST_F(NewsServer, ListsTheProductsNewsNewestFirst) {
    EXPECT_EQ(Client(Brand("Gold", "PUBG")).LastNews().value(),
              (NewsLineList{secondId_ + "^Second^10 Dec 2026", firstId_ + "^First^2026-12-08"}));
    Result<LatestNews> latest = Client(Brand("Gold", "PUBG")).LastNewsCode();
    ASSERT_TRUE(latest.ok() && latest->id);
    EXPECT_EQ(latest->id->text(), secondId_);
    EXPECT_EQ(latest->title, "Second");

    EXPECT_EQ(Client(Brand("Master", "PUBM")).LastNews().value(),
              NewsLineList{masterId_ + "^For masters^2026-12-11"});
    latest = Client(Brand("Master", "PUBM")).LastNewsCode();
    ASSERT_TRUE(latest.ok() && latest->id);
    EXPECT_EQ(latest->id->text(), masterId_);
    EXPECT_EQ(latest->title, "For masters");
}

TEST_F(NewsServer, TitlesInEveryScriptReachTheListAndTheBalloon) {
    Admin({"add-product", "WORLD"});
    // Letters whose UTF-8 holds the record separator 0xAF, and text that reads like their
    // references.
    for (const std::string title :
         {"Я и мы", "这是新闻", "گزارش", "Text &#1071; &#38; Tom & Jerry"}) {
        const std::string id = Admin({"add-news", "PUBG", "WORLD", title, "1 May", "-"}, "x");
        const NewsLineList lines = Client(Brand("Gold", "PUBG", "WORLD")).LastNews().value();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(ParseNewsLine(lines.front()).title, title);
        const Result<LatestNews> latest = Client(Brand("Gold", "PUBG", "WORLD")).LastNewsCode();
        ASSERT_TRUE(latest.ok() && latest->id);
        EXPECT_EQ(latest->id->text(), id);
        EXPECT_EQ(NewsHintText(latest->title), std::string(kNewsHintHeading) + "\r\n" + title);
    }
}

TEST_F(NewsServer, DetailsComeBackAsTheStoredHtml) {
    struct Row {
        std::string level, publisher, id, html;
    } rows[] = {
        {"Gold", "PUBG", firstId_, "<p>Hello</p>"},
        {"Gold", "PUBG", secondId_, "<b>Two &amp; more</b>\r\n"},
        {"Master", "PUBM", masterId_, "<i>m</i>"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Client(Brand(row.level, row.publisher)).NewsDetails(Id(row.id)).value(), row.html)
            << row.id;
    }
}

TEST_F(NewsServer, APublisherWithoutNewsGetsOkAlone) {
    EXPECT_EQ(Client(Brand("Platinum", "PUBP")).LastNews().value(), NewsLineList{});
    const Result<LatestNews> latest = Client(Brand("Platinum", "PUBP")).LastNewsCode();
    ASSERT_TRUE(latest.ok());
    EXPECT_FALSE(latest->id);
    EXPECT_EQ(latest->title, "");
}

TEST_F(NewsServer, RefusalsCarryTheirWarnings) {
    struct Row {
        std::string name;
        BrandSettingsRecord brand;
        std::string newsId;
        std::string listMessage, detailsMessage;
    } rows[] = {
        {"unknown publisher", Brand("Gold", "NOBODY"), firstId_, kNewsInvalidUserMessage,
         kNewsInvalidUserMessage},
        {"publisher of another level", Brand("Master", "PUBG"), firstId_, kNewsInvalidUserMessage,
         kNewsInvalidUserMessage},
        {"unknown product", Brand("Gold", "PUBG", "NOSUCH"), firstId_, kNewsInvalidProductMessage,
         kNewsInvalidProductMessage},
        {"unknown news id", Brand("Gold", "PUBG"), "999999", "", kNewsInvalidNewsMessage},
        {"news of another product", Brand("Gold", "PUBG"), otherId_, "", kNewsInvalidNewsMessage},
        {"news of another publisher", Brand("Gold", "PUBG"), masterId_, "",
         kNewsInvalidNewsMessage},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const NewsClient client = Client(row.brand);
        EXPECT_EQ(ShownFailure(client.LastNews()),
                  row.listMessage.empty() ? "ok" : row.listMessage);
        EXPECT_EQ(ShownFailure(client.NewsDetails(Id(row.newsId))), row.detailsMessage);
        EXPECT_EQ(ShownFailure(client.LastNewsCode()), row.listMessage.empty() ? "ok" : "");
    }
}

TEST_F(NewsServer, AnUnreadableDatabaseIsReportedAsTheSitesTrouble) {
    TempDir empty;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZOLT_NEWS_DSN", QString::fromStdString("sqlite:" + empty.file("missing.db")));
    PhpServer broken(ServerDir() + "/public", "", env);
    BrandSettingsRecord brand = Brand("Gold", "PUBG");
    brand.GoldNewsBaseURL = broken.url("");
    EXPECT_EQ(ShownFailure(Client(brand).LastNews()), kNewsConnectionFailMessage);
    EXPECT_EQ(ShownFailure(Client(brand).NewsDetails(Id(firstId_))), kNewsConnectionFailMessage);
}

}  // namespace
}  // namespace zolt
