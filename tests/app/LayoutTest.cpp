#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "branding/SettingsTag.h"
#include "net/HttpClient.h"
#include "news/ui/TfrmNews.h"
#include "tests/support/LayoutCheck.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "toolkit/Skin.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {
namespace {

std::vector<std::string> FaultsShown(QWidget& window) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    return test::LayoutFaults(window);
}

// Every window at its design places under the built-in skin: captions fit
// their controls, controls stay inside their parents and off each other.
TEST(Layout, EveryWindowShowsItsCaptionsWholeAndItsControlsApart) {
    ApplySkin(BuiltInSkin());
    test::TempDir dir;
    dir.write("dbsettings.dat",
              EncryptSettingsBytes(SettingsTag{"ApplicationName"}.Element("Feed Wizard") +
                                   SettingsTag{"BranderType"}.Element("Gold") +
                                   SettingsTag{"GoldNewsBaseURL"}.Element("http://127.0.0.1:9/") +
                                   SettingsTag{"GoldPublID"}.Element("G1") +
                                   SettingsTag{"Welcome1"}.Element("<h1>Welcome</h1>")));
    auto rec = std::make_shared<test::Recorder>();
    const Services services = test::MakeRecordingServices(rec);
    const ProgramConfig config = test::TestConfig(dir.path() + "/");

    TfrmMain main(config, services, test::RecordingAnswer(rec));
    main.Timer1->blockSignals(true);
    EXPECT_EQ(FaultsShown(main), std::vector<std::string>{}) << "welcome page";
    main.bsSkinButton1->click();
    EXPECT_EQ(test::LayoutFaults(main), std::vector<std::string>{}) << "news feed page";
    main.btnAdvanced->click();
    EXPECT_EQ(test::LayoutFaults(main), std::vector<std::string>{}) << "eBay feed page";

    ProgramConfig aboutConfig = config;
    aboutConfig.feedreaderFile = test::SourceDir() + "/server/feedreader/feedreader.php";
    const MessageBox msgMain(nullptr, test::RecordingAnswer(rec));
    TfrmAbout about(main.brand(), aboutConfig, services, msgMain);
    EXPECT_EQ(FaultsShown(about), std::vector<std::string>{}) << "about box";

    HttpClient http;
    const NewsLineList lines = {"2^A message with a long title for the list^2026-12-09 10:00",
                                "1^Welcome^2026-01-01"};
    TfrmNews news(config, services, main.msgMain, http, NewsChannel(main.brand()), lines);
    EXPECT_EQ(FaultsShown(news), std::vector<std::string>{}) << "news window";
}

}  // namespace
}  // namespace zolt
