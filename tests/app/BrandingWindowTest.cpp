#include "app/TfrmMain.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>

#include "branding/BrandSettings.h"
#include "branding/SettingsTag.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPictures.h"
#include "tests/support/WaitFor.h"
#include "toolkit/BannerImage.h"
#include "toolkit/GifBanner.h"
#include "toolkit/HtmlView.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Skin.h"
#include "util/SettingsFileCrypt.h"
#include "util/Zlib.h"

namespace zolt {
namespace {

std::string E(const std::string& key, const std::string& value) {
    return SettingsTag{key}.Element(value) + "\r\n";
}

class BrandingWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rec->programs = {{"x-www-browser", "/usr/bin/x-www-browser"}};
        services = test::MakeRecordingServices(rec);
        config = test::TestConfig(dir.path() + "/");
        // The start-up checks must find nobody listening.
        config.updateBaseUrl = "http://127.0.0.1:9/";
    }
    void TearDown() override { ApplySkin(BuiltInSkin()); }

    // What a row of a table starts from: an empty program folder, a new
    // recorder and the built-in skin, whatever the rows before it left.
    void Reset() {
        ApplySkin(BuiltInSkin());
        QDir folder(QString::fromStdString(dir.path()));
        for (const QFileInfo& entry :
             folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            ASSERT_TRUE(entry.isDir() ? QDir(entry.filePath()).removeRecursively()
                                      : QFile::remove(entry.filePath()));
        }
        rec = std::make_shared<test::Recorder>();
        SetUp();
    }

    void WriteSettings(const std::string& plain) {
        dir.write("dbsettings.dat", EncryptSettingsBytes(plain));
    }

    std::unique_ptr<TfrmMain> Open() {
        auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    QStringList Files() const {
        return QDir(QString::fromStdString(dir.path()))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    test::TempDir dir;
    std::shared_ptr<test::Recorder> rec = std::make_shared<test::Recorder>();
    Services services;
    ProgramConfig config;
};

TEST_F(BrandingWindowTest, TitleCaptionAndNewsButton) {
    struct Row {
        std::string type;
        std::string filledLevel;  // whose channel (base URL and publisher id) is filled
        bool newsVisible;
    };
    const std::vector<Row> rows = {
        {"Master", "Master", true},    {"Master", "Gold", false}, {"Platinum", "Platinum", true},
        {"Platinum", "Master", false}, {"Gold", "Gold", true},    {"Gold", "Platinum", false},
        {"Free", "Master", true},      {"Free", "Gold", false},   {" Gold", "Gold", false},
        {"gold", "Gold", false},       {"", "Master", false},
    };
    for (const Row& row : rows) {
        Reset();
        const std::string level = row.filledLevel;
        WriteSettings(E("ApplicationName", "Feed Wizard") + E("BranderType", row.type) +
                      E(level + "NewsBaseURL", "http://127.0.0.1:9/") +
                      E(level + "PublID", "pub-1") + E("MakeMoneyButton", "Earn Cash"));
        auto w = Open();
        EXPECT_EQ(w->windowTitle(), QString("Feed Wizard v") + AppVersion) << row.type;
        EXPECT_EQ(w->btnMakeMoney->text(), "Earn Cash") << row.type;
        EXPECT_EQ(w->btnNews->isVisible(), row.newsVisible) << "'" << row.type << "' " << level;
        EXPECT_EQ(w->brand().BranderType, row.type);
    }
}

TEST_F(BrandingWindowTest, TextsInUtf8AndWindows1252) {
    for (const std::string& name :
         {std::string("F\xC3\xBCnf \xE2\x82\xAC"), std::string("F\xFCnf \x80")}) {
        Reset();
        WriteSettings(E("ApplicationName", name) + E("Link1", name + "^http://l/"));
        auto w = Open();
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Fünf € v") + AppVersion);
        EXPECT_EQ(w->lblLink1URL->text(), QString::fromUtf8("Fünf €"));
        EXPECT_EQ(w->btnMakeMoney->text(), "Make Money");
    }
}

TEST_F(BrandingWindowTest, JpegBannerGetsAStripTenHigherAndStaysCentred) {
    WriteSettings(E("Banner1", "C:\\Ads\\Top.JPG^http://ad.example/"));
    dir.write("banner1.dat", test::MakeJpeg(468, 60));
    const QStringList before = Files();
    auto w = Open();
    ASSERT_TRUE(w->panBanner->isVisible());
    EXPECT_TRUE(w->imgBanner->isVisible());
    EXPECT_FALSE(w->gifBanner->isVisible());
    EXPECT_EQ(w->imgBanner->size(), QSize(468, 60));
    EXPECT_EQ(w->panBanner->height(), 70);
    const auto centred = [&] {
        return w->imgBanner->pos() ==
               QPoint(w->panBanner->width() / 2 - 234, w->panBanner->height() / 2 - 30);
    };
    EXPECT_TRUE(centred()) << w->imgBanner->x() << "," << w->imgBanner->y();
    EXPECT_EQ(w->imgBanner->y(), 5);
    EXPECT_EQ(w->imgBanner->cursor().shape(), Qt::PointingHandCursor);

    w->resize(1001, 600);
    EXPECT_TRUE(test::WaitFor([&] { return w->panBanner->width() == 1001 && centred(); }));
    EXPECT_EQ(w->imgBanner->x(), 500 - 234);

    QTest::mouseClick(w->imgBanner, Qt::LeftButton);
    ASSERT_EQ(rec->processes.size(), 1u);
    EXPECT_EQ(rec->processes[0].args, std::vector<std::string>{"http://ad.example/"});
    // Nothing was renamed, written or left behind.
    EXPECT_EQ(Files(), before);
}

TEST_F(BrandingWindowTest, GifBannerShowsInTheAnimationControl) {
    // Trailing "^": no click URL, so the arrow cursor and silent clicks.
    WriteSettings(E("Banner1", "ads/Anim.Gif^"));
    dir.write("banner1.dat", test::MakeGif(400, 40));
    auto w = Open();
    EXPECT_TRUE(w->panBanner->isVisible());
    EXPECT_TRUE(w->gifBanner->isVisible());
    EXPECT_FALSE(w->imgBanner->isVisible());
    EXPECT_TRUE(w->gifBanner->hasAnimation());
    EXPECT_EQ(w->gifBanner->size(), QSize(400, 40));
    EXPECT_EQ(w->panBanner->height(), 50);
    EXPECT_EQ(w->gifBanner->pos(), QPoint(w->panBanner->width() / 2 - 200, 25 - 20));
    EXPECT_NE(w->gifBanner->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(w->gifBanner, Qt::LeftButton);
    EXPECT_TRUE(rec->processes.empty());
}

TEST_F(BrandingWindowTest, TheDrawnBannerIsReadFromItsOwnFile) {
    WriteSettings(E("Banner1", "a.jpg^http://a/") + E("Banner2", "b.jpg^http://b/") +
                  E("Banner3", "c.jpg^http://c/"));
    dir.write("banner1.dat", test::MakeJpeg(100, 20));
    dir.write("banner2.dat", test::MakeJpeg(300, 50));
    dir.write("banner3.dat", test::MakeJpeg(200, 30));
    rec->draws = {1};
    auto w = Open();
    EXPECT_EQ(w->imgBanner->size(), QSize(300, 50));
    EXPECT_EQ(w->panBanner->height(), 60);
    EXPECT_EQ(w->brand().content.BannerImageName, "b.jpg");
    QTest::mouseClick(w->imgBanner, Qt::LeftButton);
    ASSERT_EQ(rec->processes.size(), 1u);
    EXPECT_EQ(rec->processes[0].args, std::vector<std::string>{"http://b/"});
}

TEST_F(BrandingWindowTest, Links) {
    {
        WriteSettings(E("Link1", "Only One^http://one/"));
        auto w = Open();
        EXPECT_TRUE(w->panLinks->isVisible());
        EXPECT_EQ(w->lblLink1URL->text(), "Only One");
        EXPECT_EQ(w->lblLink1URL->url(), "http://one/");
        EXPECT_EQ(w->lblLink2URL->text(), "");
        EXPECT_EQ(w->lblLink2URL->url(), "");
        QTest::mouseClick(w->lblLink1URL, Qt::LeftButton);
        ASSERT_EQ(rec->processes.size(), 1u);
        EXPECT_EQ(rec->processes[0].args, std::vector<std::string>{"http://one/"});
    }
    for (const std::vector<int>& draws : std::vector<std::vector<int>>{{0, 0}, {1, 0}}) {
        Reset();
        WriteSettings(E("Link1", "First^http://1/") + E("Link2", "Second^http://2/"));
        rec->draws = {draws.begin(), draws.end()};
        auto w = Open();
        const QString expected1 = draws[0] == 0 ? "First" : "Second";
        const QString expected2 = draws[0] == 0 ? "Second" : "First";
        EXPECT_EQ(w->lblLink1URL->text(), expected1);
        EXPECT_EQ(w->lblLink2URL->text(), expected2);
        EXPECT_NE(w->lblLink1URL->url(), w->lblLink2URL->url());
        // Kept at the right end of the strip.
        EXPECT_EQ(w->lblLink2URL->geometry().right(), w->panLinks->width() - 13 - 1);
    }
    for (const std::string& links : {std::string(), E("Link1", "^http://no-caption/")}) {
        Reset();
        WriteSettings(E("ApplicationName", "X") + links);
        auto w = Open();
        EXPECT_FALSE(w->panLinks->isVisible());
    }
}

TEST_F(BrandingWindowTest, WelcomePageFirstAndTheTimerAfterLeavingIt) {
    WriteSettings(E("Welcome1", "<h1>Hello reseller</h1>\n<p>Second line</p>"));
    auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
    EXPECT_FALSE(w->Timer1->isActive());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    ASSERT_NE(w->stsWelcome, nullptr);
    EXPECT_EQ(w->pgcPrinc->currentWidget(), w->stsWelcome);
    EXPECT_FALSE(w->pgcPrinc->tabBar()->isVisible());
    EXPECT_EQ(w->prfWelcome->htmlSource(), "<h1>Hello reseller</h1>\r\n<p>Second line</p>");
    EXPECT_TRUE(w->prfWelcome->toPlainText().contains("Hello reseller"));
    EXPECT_FALSE(w->Timer1->isActive());
    QTest::mouseClick(w->bsSkinButton1, Qt::LeftButton);
    EXPECT_EQ(w->pgcPrinc->currentWidget(), w->stsMain);
    EXPECT_TRUE(w->Timer1->isActive());
}

TEST_F(BrandingWindowTest, WithoutWelcomePageTheTimerRunsFromCreation) {
    WriteSettings(E("ApplicationName", "No Welcome"));
    auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
    EXPECT_TRUE(w->Timer1->isActive());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_EQ(w->stsWelcome, nullptr);
    EXPECT_EQ(w->pgcPrinc->currentWidget(), w->stsMain);
}

TEST_F(BrandingWindowTest, SkinAndIcon) {
    const std::string sheet = "QWidget#frmMain { background: #010203; }";
    WriteSettings(E("ApplicationName", "Skinned"));
    dir.write("mainskin.dat", ZlibCompress(sheet));
    dir.write("main.ico", test::MakeIco());
    auto w = Open();
    EXPECT_EQ(CurrentSkin(), sheet);
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_FALSE(w->windowIcon().availableSizes().isEmpty());
    // An entry that Qt cannot read costs that entry only.
    Reset();
    WriteSettings(E("ApplicationName", "Skinned"));
    dir.write("main.ico", test::MakeIcoWithUnreadableFirstEntry());
    QApplication::setWindowIcon(QIcon());
    EXPECT_EQ(Open()->windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});

    for (const std::string& stored : {ZlibCompress(""), std::string("not compressed")}) {
        Reset();
        WriteSettings(E("ApplicationName", "Skinned"));
        dir.write("mainskin.dat", stored);
        auto again = Open();
        EXPECT_EQ(CurrentSkin(), BuiltInSkin());
    }
}

TEST_F(BrandingWindowTest, FileThatDoesNotDecryptGivesAnEmptyBrand) {
    dir.write("dbsettings.dat", EncryptSettingsBytes(E("ApplicationName", "X")).substr(0, 15));
    dir.write("banner1.dat", test::MakeJpeg(468, 60));
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), QString(" v") + AppVersion);
    EXPECT_FALSE(w->btnNews->isVisible());
    EXPECT_EQ(w->btnMakeMoney->text(), "Make Money");
    EXPECT_FALSE(w->panBanner->isVisible());
    EXPECT_FALSE(w->panLinks->isVisible());
    EXPECT_EQ(Files(), (QStringList{"banner1.dat", "dbsettings.dat"}));
}

TEST_F(BrandingWindowTest, NoRoomForThePlainCopyStillBrands) {
    WriteSettings(E("ApplicationName", "Shown All The Same"));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("dbsettings.sim/in-the-way"))));
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), QString("Shown All The Same v") + AppVersion);
    EXPECT_FALSE(w->btnNews->isVisible());
    EXPECT_FALSE(w->panBanner->isVisible());
    EXPECT_EQ(w->brand().ApplicationName, "Shown All The Same");
    // What stood in the way is left alone.
    EXPECT_TRUE(QDir(QString::fromStdString(dir.file("dbsettings.sim/in-the-way"))).exists());
}

}  // namespace
}  // namespace zolt
