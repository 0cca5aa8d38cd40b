// "Preview" on the two pages and in the main window: php runs the snippet
// with the source copy of feedreader.php against a feed on 127.0.0.1.
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/TfrmMain.h"
#include "branding/BrandSettings.h"
#include "feeds/ui/AdvancedPage.h"
#include "feeds/ui/PreviewWindow.h"
#include "feeds/ui/SimplePage.h"
#include "tests/support/PhpServer.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "toolkit/HtmlView.h"

namespace zolt {
namespace {

class PreviewTest : public ::testing::Test {
  protected:
    PreviewTest() : oldTemp(qgetenv("TMPDIR")) {
        recorder->programs = {{"php", test::PhpBinary()}};
        config.feedreaderFile = test::SourceDir() + "/server/feedreader/feedreader.php";
        // Every preview site is made in here, and none may stay behind.
        qputenv("TMPDIR", QByteArray::fromStdString(temp.path()));
    }
    ~PreviewTest() override { qputenv("TMPDIR", oldTemp); }
    void SetUp() override {
        if (test::UnderWine()) {
            GTEST_SKIP() << "Preview waits for a Windows php.exe; under Wine only the host's "
                            "Linux php is there, and Wine cannot see a Linux program end";
        }
    }

    // Presses the page's button and waits for php to finish.
    PreviewWindow* preview(QWidget& page, const char* button, bool wait = true) {
        QTest::mouseClick(page.findChild<QPushButton*>(button), Qt::LeftButton);
        auto* window = page.findChild<PreviewWindow*>();
        EXPECT_TRUE(window &&
                    (!wait || test::WaitFor([&] { return !window->IsRunning(); }, 20000)));
        return window;
    }
    static std::string shown(PreviewWindow* window) {
        return window->prfPreview->toPlainText().toStdString();
    }
    void expectChildGone() {
        // Well before feedreader.php's own time-out of 10 s.
        EXPECT_TRUE(test::WaitFor([&] { return server.openConnections() == 0; }, 3000));
        EXPECT_TRUE(QDir(QString::fromStdString(temp.path()))
                        .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    test::TempDir base;
    test::TempDir temp;
    QByteArray oldTemp;
    std::shared_ptr<test::Recorder> recorder = std::make_shared<test::Recorder>();
    Services services = test::MakeRecordingServices(recorder);
    ProgramConfig config = test::TestConfig("");
    MessageBox msgMain{nullptr, test::RecordingAnswer(recorder)};
    // The feed, and silence everywhere else.
    test::ScriptedHttpServer server{
        [](const test::HttpRequestSeen& r) -> std::optional<std::string> {
            if (r.target != "/feed.rss") {
                return std::nullopt;
            }
            return test::ScriptedHttpServer::Reply(
                200, test::ReadFileBytes(test::SourceDir() + "/tests/feeds/preview-feed.rss"),
                {"Content-Type: application/rss+xml"});
        }};
};

TEST_F(PreviewTest, TheNewsPreviewShowsThePageOrSaysWhyNot) {
    struct Row {
        const char* path;
        bool php;
        int limitMs;
        bool cancel;
        std::vector<std::string> shown;
    };
    const Row rows[] = {
        {"feed.rss",
         true,
         30000,
         false,
         {"Lantern Test Feed", "Harbour lights return", "Night market opens"}},
        {"silent",
         true,
         1000,
         false,
         {"PHP did not finish within 1 second, so the preview was stopped."}},
        {"silent", true, 30000, true, {"The preview was cancelled."}},
        {"feed.rss", false, 30000, false, {"php-cli php-curl php-xml"}},
    };
    SimplePage page(config, services, msgMain);
    page.show();
    for (const Row& row : rows) {
        recorder->programs = {{"php", row.php ? test::PhpBinary() : ""}};
        config.previewTimeLimitMs = row.limitMs;
        page.findChild<QLineEdit*>("edtRSSFeed")
            ->setText(QString::fromStdString(server.url(row.path)));
        PreviewWindow* window = preview(page, "btnFPreview", !row.cancel);
        ASSERT_NE(window, nullptr);
        if (row.cancel) {
            ASSERT_TRUE(test::WaitFor([&] { return server.openConnections() == 1; }));
            EXPECT_EQ(window->cursor().shape(), Qt::WaitCursor);
            QTest::mouseClick(window->btnPreviewCancel, Qt::LeftButton);
            EXPECT_FALSE(window->IsRunning());
        }
        for (const std::string& text : row.shown) {
            EXPECT_NE(shown(window).find(text), std::string::npos) << shown(window);
        }
        expectChildGone();
        EXPECT_EQ(window->windowTitle(), "Preview");
        EXPECT_EQ(window->size(), QSize(640, 480));
        EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    }
    EXPECT_TRUE(recorder->messages.empty());
}

TEST_F(PreviewTest, AWarningOfGenerateCodeShowsNoPreview) {
    SimplePage simple(config, services, msgMain);
    AdvancedPage advanced(config, services, msgMain);
    advanced.FillEbaySites();
    advanced.findChild<QLineEdit*>("edtEbayCampaign")->setText("5335");
    QTest::mouseClick(simple.findChild<QPushButton*>("btnFPreview"), Qt::LeftButton);
    QTest::mouseClick(advanced.findChild<QPushButton*>("btnEPreview"), Qt::LeftButton);
    EXPECT_EQ(recorder->messageTexts(),
              (std::vector<std::string>{"Please provide a valid RSS Feed.",
                                        "Please provide a valid Main Keyword."}));
    EXPECT_EQ(simple.findChild<PreviewWindow*>(), nullptr);
    EXPECT_EQ(advanced.findChild<PreviewWindow*>(), nullptr);
}

TEST_F(PreviewTest, TheMainWindowPreviewsEbayLinksAndEndsPhpWhenItCloses) {
    config.baseDir = base.path() + "/";
    auto window = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(recorder));
    window->show();
    QTest::mouseClick(window->btnAdvanced, Qt::LeftButton);
    QWidget& advanced = *window->pageAdvanced;
    advanced.findChild<QLineEdit*>("edtEbayCampaign")->setText("5335");
    advanced.findChild<QLineEdit*>("edtMainKeyword")->setText("digital camera");
    advanced.findChild<QLineEdit*>("edtAlternativeKeyword")->setText("lens");
    PreviewWindow* ebay = preview(advanced, "btnEPreview");
    ASSERT_NE(ebay, nullptr);
    // Without the site's eBay keys the page shows tracked search links.
    EXPECT_NE(shown(ebay).find("Find \xE2\x80\x9C"
                               "digital camera\xE2\x80\x9D on eBay United States"),
              std::string::npos)
        << shown(ebay);
    EXPECT_NE(ebay->prfPreview->htmlSource().find("campid=5335"), std::string::npos);
    // Centred, give or take the window frame.
    EXPECT_LE((ebay->geometry().center() - window->geometry().center()).manhattanLength(), 8);

    QTest::mouseClick(window->btnSimple, Qt::LeftButton);
    window->pageSimple->findChild<QLineEdit*>("edtRSSFeed")
        ->setText(QString::fromStdString(server.url("silent")));
    PreviewWindow* news = preview(*window->pageSimple, "btnFPreview", false);
    ASSERT_TRUE(test::WaitFor([&] { return server.openConnections() == 1; }));
    window->close();
    EXPECT_FALSE(news->isVisible());
    expectChildGone();
}

}  // namespace
}  // namespace zolt
