#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/TfrmMain.h"
#include "branding/AppVersion.h"
#include "net/HttpClient.h"
#include "news/NewsNotification.h"
#include "tests/news/NewsSite.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "toolkit/BalloonHint.h"
#include "toolkit/HtmlView.h"

namespace zolt {
namespace {

using test::ScriptedHttpServer;

TEST(NewsId, KeepsItsDigitsAndComparesByValue) {
    // Which texts are ids at all is the table of LastNewsIdText.
    const std::vector<std::pair<std::string, std::int64_t>> cases = {
        {"15", 15},
        {"0", 0},
        {"007", 7},
        {"2147483648", 2147483648},
        {"999999999999999999", 999999999999999999}};
    for (const auto& [text, value] : cases) {
        const std::optional<NewsId> id = NewsId::Parse(text);
        ASSERT_TRUE(id) << text;
        EXPECT_EQ(id->value(), value) << text;
        EXPECT_EQ(id->text(), text);
    }
    EXPECT_EQ(NewsId::Parse("007"), NewsId::Parse("7"));
    EXPECT_EQ(NewsHintText("Spring"), "You've Got A Message!\r\nSpring");
    EXPECT_EQ(NewsHintText("Spring", 3), "You've Got 3 New Messages!\r\nSpring");
    EXPECT_EQ(NewsHintText(std::string(201, 'x')).substr(23), std::string(200, 'x') + "\u200Bx");
}

std::string StoredId(const std::string& id) {
    return "<%%LastNewsId%%>" + id + "<%%/LastNewsId%%>\r\n";
}

TEST(StartupNewsHint, ComparesTheServersNewestIdWithTheStoredOne) {
    if (test::PhpBinary().empty()) {
        GTEST_SKIP() << "php is not installed";
    }
    test::NewsSite site;
    for (const char* product : {"P0", "P1", "P15", "P16"}) {
        site.Admin({"add-product", product});
    }
    site.AddNews("P1", "Only one", "x", "1");
    site.AddNews("P15", "Fifteen", "x", "15");
    for (const char* id : {"9", "14", "16"}) {
        site.AddNews("P16", id == std::string("16") ? "Sixteen" : "Older", "x", id);
    }
    struct Case {
        std::optional<std::string> stored;  // nothing: no element in the file
        const char* product;
        std::optional<std::string> hint;
    };
    const std::vector<Case> cases = {
        {std::nullopt, "P1", "You've Got A Message!\r\nOnly one"},
        {"15", "P15", std::nullopt},
        {"15", "P16", "You've Got A Message!\r\nSixteen"},
        {"16", "P15", std::nullopt},
        // Compared as numbers, not as text; the new ones counted.
        {"9", "P16", "You've Got 2 New Messages!\r\nSixteen"},
        {std::nullopt, "P16", "You've Got 3 New Messages!\r\nSixteen"},
        {"abc", "P1", "You've Got A Message!\r\nOnly one"},
        {std::nullopt, "P0", std::nullopt},       // no news at all
        {std::nullopt, "UNKNOWN", std::nullopt},  // refused, silently
    };
    HttpClient http;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " stored " + c.stored.value_or("none"));
        test::TempDir dir;
        auto rec = std::make_shared<test::Recorder>();
        const Services services = test::MakeRecordingServices(rec);
        const ProgramConfig config = test::TestConfig(dir.path() + "/");
        const BrandSettingsRecord brand = site.Brand(c.product);
        test::WriteSettings(dir, test::SettingsText(brand, c.stored ? StoredId(*c.stored) : ""));
        const std::string before = dir.read("dbsettings.dat");
        const std::optional<NewsAnnouncement> news =
            StartupNewsHint(config, http, NewsChannel(brand));
        EXPECT_EQ(news ? std::optional(news->hint) : std::nullopt, c.hint);
        EXPECT_TRUE(rec->messages.empty());
        // The check never writes the settings file.
        EXPECT_EQ(dir.read("dbsettings.dat"), before);
    }
}

TEST(StartupNewsHint, NonNumericServerIdCountsAsZero) {
    ScriptedHttpServer server([](const test::HttpRequestSeen&) {
        return ScriptedHttpServer::Reply(200, "abc^Odd\xAFOK");
    });
    HttpClient http;
    BrandSettingsRecord brand;
    brand.BranderType = "Gold";
    brand.BranderCode = "P";
    brand.GoldNewsBaseURL = server.url("");
    brand.GoldPublID = "PUBG";
    for (const auto& [stored, hint] :
         std::vector<std::pair<std::string, bool>>{{"", false}, {"0", false}, {"-1", false}}) {
        test::TempDir dir;
        auto rec = std::make_shared<test::Recorder>();
        const Services services = test::MakeRecordingServices(rec);
        const ProgramConfig config = test::TestConfig(dir.path() + "/");
        test::WriteSettings(dir, test::SettingsText(brand, StoredId(stored)));
        EXPECT_EQ(StartupNewsHint(config, http, NewsChannel(brand)).has_value(), hint) << stored;
    }
}

// Whether the news button's envelope carries its new-news mark.
bool Marked(const TfrmMain& window) {
    const QSize size(28, 28);
    return window.btnNews->icon().pixmap(size).toImage() ==
           QIcon(":/toolkit/news-new.png").pixmap(size).toImage();
}

// The main window on a program folder with a settings file; its update site
// records when the silent update check asks.
class StartupCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        if (test::PhpBinary().empty()) {
            GTEST_SKIP() << "php is not installed";
        }
        site = std::make_unique<test::NewsSite>();
        site->Admin({"add-product", "PS"});
        newsId = site->AddNews("PS", "Big news", "<p>read me</p>");
        update = std::make_unique<ScriptedHttpServer>([this](const test::HttpRequestSeen&) {
            balloonAtUpdate = window && window->LMDMessageHint1->isVisible();
            return ScriptedHttpServer::Reply(
                200, std::string("[APPLICATION]\r\nVersion=") + AppVersion + "\r\n");
        });
        services = test::MakeRecordingServices(rec);
        config = test::TestConfig(dir.path() + "/");
        config.updateBaseUrl = update->url("");
    }
    void Open(const BrandSettingsRecord& brand, const std::string& extra = "") {
        test::WriteSettings(dir, test::SettingsText(brand, extra));
        window = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    bool UpdateChecked() {
        return test::WaitFor([&] { return !update->requests().empty(); }, 15000);
    }

    std::unique_ptr<test::NewsSite> site;
    std::string newsId;
    std::unique_ptr<ScriptedHttpServer> update;
    bool balloonAtUpdate = false;
    test::TempDir dir;
    std::shared_ptr<test::Recorder> rec = std::make_shared<test::Recorder>();
    Services services;
    ProgramConfig config;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(StartupCheck, NewerNewsShowsTheBalloonAtTheNewsButtonThenChecksForUpdates) {
    Open(site->Brand("PS"));
    ASSERT_TRUE(UpdateChecked());
    EXPECT_TRUE(balloonAtUpdate);
    BalloonHint* hint = window->LMDMessageHint1;
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "You've Got A Message!\nBig news");
    const QToolButton* button = window->btnNews;
    EXPECT_EQ(hint->anchor(),
              button->mapToGlobal(QPoint(button->width() / 2, button->height() / 2)));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(rec->messages.empty());
}

TEST_F(StartupCheck, ReadNewsShowsNoBalloonAndNoMark) {
    Open(site->Brand("PS"), StoredId(newsId));
    ASSERT_TRUE(UpdateChecked());
    EXPECT_FALSE(balloonAtUpdate);
    EXPECT_FALSE(window->LMDMessageHint1->isVisible());
    EXPECT_FALSE(Marked(*window));
}

TEST_F(StartupCheck, FreeBrandAsksNoNewsButStillChecksForUpdates) {
    BrandSettingsRecord brand = site->Brand("PS");
    brand.BranderType = "Free";
    brand.MasterNewsBaseURL = brand.GoldNewsBaseURL;
    brand.MasterPublID = "PUBG";
    Open(brand);
    ASSERT_TRUE(UpdateChecked());
    EXPECT_FALSE(window->LMDMessageHint1->isVisible());
    EXPECT_TRUE(rec->messages.empty());
    EXPECT_EQ(site->log().find("getlastnews.php"), std::string::npos);
}

TEST_F(StartupCheck, WelcomePageHoldsTheChecksUntilTheUserLeavesIt) {
    Open(site->Brand("PS"), "<%%Welcome1%%><p>Hello</p><%%/Welcome1%%>\r\n");
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(update->requests().empty());
    window->bsSkinButton1->click();
    EXPECT_TRUE(window->Timer1->isActive());
    ASSERT_TRUE(UpdateChecked());
    EXPECT_TRUE(window->LMDMessageHint1->isVisible());
}

TEST_F(StartupCheck, NewsButtonWithoutNewsSaysSo) {
    site->Admin({"add-product", "EMPTY"});
    Open(site->Brand("EMPTY"));
    ASSERT_TRUE(UpdateChecked());
    window->btnNews->click();
    EXPECT_EQ(rec->messageTexts(), std::vector<std::string>{kNoNewsMessage});
    EXPECT_TRUE(window->NewsList.empty());

    // A refused request shows its warning, then the same box.
    rec->messages.clear();
    site->Admin({"remove-news", newsId});
    const size_t checks = update->requests().size();
    Open(site->Brand("NOSUCH"));
    ASSERT_TRUE(test::WaitFor([&] { return update->requests().size() > checks; }, 15000));
    window->btnNews->click();
    EXPECT_EQ(rec->messageTexts(),
              (std::vector<std::string>{
                  "There is a trouble with the product validation. Contact your provider.",
                  kNoNewsMessage}));
}

// Two messages reach the user: balloon and mark at start, the window on the
// newest page, the older one read after it, and nothing announced at the
// next start.
TEST_F(StartupCheck, ReadingTheNewestThenAnOlderMessageEndsTheBalloonAndTheMark) {
    const std::string newer = site->AddNews("PS", "Bigger news", "<p>newer</p>");
    Open(site->Brand("PS"));
    ASSERT_TRUE(UpdateChecked());
    ASSERT_TRUE(window->LMDMessageHint1->isVisible());
    EXPECT_EQ(window->LMDMessageHint1->text().toStdString(),
              "You've Got 2 New Messages!\nBigger news");
    EXPECT_TRUE(Marked(*window));

    // The news window is modal: it is answered from the event loop it runs.
    std::vector<std::string> pages;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* news = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* page = news ? news->findChild<HtmlView*>("prfEditorNews") : nullptr;
        if (page == nullptr || page->htmlSource().empty()) {
            return;
        }
        if (pages.empty() || pages.back() != page->htmlSource()) {
            pages.push_back(page->htmlSource());
        }
        auto* list = news->findChild<QTreeWidget*>("lvwItems");
        if (pages.size() == 1) {
            list->setCurrentItem(list->topLevelItem(1));
        } else {
            poll.stop();
            news->accept();
        }
    });
    poll.start(10);
    window->btnNews->click();
    EXPECT_EQ(pages, (std::vector<std::string>{"<p>newer</p>", "<p>read me</p>"}));
    EXPECT_EQ(window->NewsList,
              (NewsLineList{newer + "^Bigger news^2026-12-08", newsId + "^Big news^2026-12-08"}));
    EXPECT_FALSE(Marked(*window));

    // The next start, on the settings file as the window left it.
    const size_t checks = update->requests().size();
    window = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
    window->show();
    ASSERT_TRUE(test::WaitFor([&] { return update->requests().size() > checks; }, 15000));
    EXPECT_FALSE(window->LMDMessageHint1->isVisible());
    EXPECT_FALSE(Marked(*window));
}

}  // namespace
}  // namespace zolt
