#include "app/TfrmMain.h"

#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>

#include "app/ErrorReporting.h"
#include "branding/BrandSettings.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "toolkit/BannerImage.h"
#include "toolkit/GifBanner.h"
#include "toolkit/LinkLabel.h"

namespace zolt {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rec->programs = {{"x-www-browser", "/usr/bin/x-www-browser"}};
        services = test::MakeRecordingServices(rec);
        config = test::TestConfig(dir.path() + "/");
    }

    std::unique_ptr<TfrmMain> Open() {
        auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    test::TempDir dir;
    std::shared_ptr<test::Recorder> rec = std::make_shared<test::Recorder>();
    Services services;
    ProgramConfig config;
};

TEST_F(MainWindowTest, WithoutSettingsFileOpensUnbrandedOnTheSimplePage) {
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), "RSS Feed Zolt");
    // The welcome page is gone, the main page is page 0, no tab shows.
    EXPECT_EQ(w->stsWelcome, nullptr);
    EXPECT_EQ(w->findChild<QWidget*>("stsWelcome"), nullptr);
    EXPECT_EQ(w->pgcPrinc->count(), 1);
    EXPECT_EQ(w->pgcPrinc->currentWidget(), w->stsMain);
    EXPECT_FALSE(w->pgcPrinc->tabBar()->isVisible());
    EXPECT_EQ(w->ntbMain->currentIndex(), 0);
    EXPECT_EQ(w->ntbMain->currentWidget()->objectName(), "Simple");
    EXPECT_TRUE(w->btnNews->isVisible());
    EXPECT_EQ(w->btnMakeMoney->text(), "Make Money");
    EXPECT_TRUE(w->panBanner->isVisible());
    EXPECT_EQ(w->panBanner->height(), 65);
    EXPECT_TRUE(w->panLinks->isVisible());
    EXPECT_EQ(w->lblLink1URL->text(), "Google");
    EXPECT_EQ(w->lblLink2URL->text(), "Google");
    EXPECT_FALSE(w->lblLink1URL->url().empty());
}

TEST_F(MainWindowTest, ToolbarCaptionsHintsAndIcons) {
    auto w = Open();
    EXPECT_EQ(w->btnSimple->text(), "News Feed Generator");
    EXPECT_EQ(w->btnAdvanced->text(), "Ebay Feed Generator");
    EXPECT_EQ(w->btnMakeMoney->text(), "Make Money");
    EXPECT_EQ(w->btnAbout->text(), "About");
    EXPECT_EQ(w->btnNews->toolTip(), "Check News");
    EXPECT_EQ(w->bsSkinSpeedButton1->toolTip(), "Check Updates");
    EXPECT_EQ(w->bsSkinSpeedButton2->toolTip(), "Help");
    for (QToolButton* b : {w->btnNews, w->bsSkinSpeedButton1, w->bsSkinSpeedButton2}) {
        EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
        EXPECT_TRUE(b->text().isEmpty() || b->toolButtonStyle() == Qt::ToolButtonIconOnly);
    }
}

TEST_F(MainWindowTest, ImageButtonsAndRightLinkStayAtTheRightEdge) {
    auto w = Open();
    const int linkRight = w->panLinks->width() - w->lblLink2URL->geometry().right();
    w->resize(1000, 600);
    ASSERT_TRUE(test::WaitFor([&] { return w->bsSkinPanel4->width() == 1000; }));
    EXPECT_EQ(w->btnNews->x(), 1000 - (778 - 639));
    EXPECT_EQ(w->bsSkinSpeedButton1->x(), 1000 - (778 - 682));
    EXPECT_EQ(w->bsSkinSpeedButton2->x(), 1000 - (778 - 725));
    EXPECT_EQ(w->btnAbout->x(), 406);
    EXPECT_EQ(w->panLinks->width() - w->lblLink2URL->geometry().right(), linkRight);
    EXPECT_EQ(w->lblLink1URL->pos(), QPoint(13, 9));
}

TEST_F(MainWindowTest, GeneratorButtonsSwitchThePages) {
    auto w = Open();
    QTest::mouseClick(w->btnAdvanced, Qt::LeftButton);
    EXPECT_EQ(w->ntbMain->currentWidget()->objectName(), "Advanced");
    QTest::mouseClick(w->btnAdvanced, Qt::LeftButton);
    EXPECT_EQ(w->ntbMain->currentIndex(), 1);
    QTest::mouseClick(w->btnSimple, Qt::LeftButton);
    EXPECT_EQ(w->ntbMain->currentWidget()->objectName(), "Simple");
}

TEST_F(MainWindowTest, MakeMoneyAndHelpHandAnEmptyAddressToTheBrowser) {
    auto w = Open();
    QTest::mouseClick(w->btnMakeMoney, Qt::LeftButton);
    QTest::mouseClick(w->bsSkinSpeedButton2, Qt::LeftButton);
    ASSERT_EQ(rec->processes.size(), 2u);
    for (const auto& p : rec->processes) {
        EXPECT_EQ(p.program, "/usr/bin/x-www-browser");
        EXPECT_TRUE(p.args.empty());
    }
    EXPECT_TRUE(rec->messages.empty());
}

TEST_F(MainWindowTest, WithoutBrowserTheButtonsDoNothingAndSayNothing) {
    rec->programs.clear();
    auto w = Open();
    QTest::mouseClick(w->btnMakeMoney, Qt::LeftButton);
    QTest::mouseClick(w->bsSkinSpeedButton2, Qt::LeftButton);
    EXPECT_TRUE(rec->processes.empty());
    EXPECT_TRUE(rec->messages.empty());
}

TEST_F(MainWindowTest, BannerControlsStayCentredWhenResized) {
    auto w = Open();
    QPixmap picture(200, 40);
    picture.fill(Qt::red);
    w->imgBanner->setPicture(picture);
    const std::vector<QSize> sizes = {{900, 600}, {500, 400}, {778, 552}, {1234, 700}};
    for (const QSize& size : sizes) {
        w->resize(size);
        ASSERT_TRUE(test::WaitFor([&] { return w->panBanner->width() == size.width(); }));
        const QRect r = w->imgBanner->geometry();
        EXPECT_EQ(r.size(), QSize(200, 40));
        EXPECT_LE(std::abs(r.center().x() - w->panBanner->rect().center().x()), 1) << size.width();
        EXPECT_EQ(w->gifBanner->geometry().center().x() / 2, w->panBanner->rect().center().x() / 2);
    }
}

TEST_F(MainWindowTest, StartUpTimerRunsOnceWithoutWelcomePage) {
    auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
    // Started by the window's creation, 100 ms, one tick.
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 100);
    w->show();
    ASSERT_TRUE(test::WaitFor([&] { return !w->Timer1->isActive(); }, 5000));
}

TEST_F(MainWindowTest, AnExceptionInAHandlerShowsAWarningAndTheWindowGoesOn) {
    services.findProgram = [](const std::string&) -> std::string {
        throw std::runtime_error("The browser lookup broke.");
    };
    InstallErrorReporter(test::RecordingAnswer(rec));
    auto w = Open();
    QTest::mouseClick(w->btnMakeMoney, Qt::LeftButton);
    ASSERT_EQ(rec->messages.size(), 1u);
    EXPECT_EQ(rec->messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(rec->messages[0].text, "The browser lookup broke.");
    // Still usable.
    QTest::mouseClick(w->btnAdvanced, Qt::LeftButton);
    EXPECT_EQ(w->ntbMain->currentIndex(), 1);
    QTest::mouseClick(w->bsSkinSpeedButton2, Qt::LeftButton);
    EXPECT_EQ(rec->messages.size(), 2u);
    InstallErrorReporter({});
}

}  // namespace
}  // namespace zolt
