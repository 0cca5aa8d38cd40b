#include "app/TfrmAbout.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/TfrmMain.h"
#include "branding/BrandSettings.h"
#include "branding/SettingsTag.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {
namespace {

class AboutBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        services = test::MakeRecordingServices(rec);
        config = test::TestConfig(dir.path() + "/");
        config.updateBaseUrl = "http://127.0.0.1:9/";
    }

    std::unique_ptr<TfrmMain> Open() {
        auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    // Presses About and hands the modal box to `inspect` while it shows;
    // then presses its Ok. Returns the box's address for comparison.
    const void* PressAbout(TfrmMain& w, const std::function<void(TfrmAbout&)>& inspect) {
        const void* seen = nullptr;
        QTimer::singleShot(0, [&] {
            const bool up = test::WaitFor(
                [] { return qobject_cast<TfrmAbout*>(QApplication::activeModalWidget()); });
            EXPECT_TRUE(up);
            auto* box = qobject_cast<TfrmAbout*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            seen = box;
            EXPECT_TRUE(box->isModal());
            inspect(*box);
            QTest::mouseClick(box->editAbout, Qt::LeftButton);
        });
        QTest::mouseClick(w.btnAbout, Qt::LeftButton);
        // Destroyed once it has closed.
        EXPECT_TRUE(w.findChildren<TfrmAbout*>().isEmpty());
        return seen;
    }

    test::TempDir dir;
    std::shared_ptr<test::Recorder> rec = std::make_shared<test::Recorder>();
    // What the main window's message box does in the tests: record.
    MessageBox msgMain{nullptr, test::RecordingAnswer(rec)};
    Services services;
    ProgramConfig config;
};

TEST_F(AboutBoxTest, WithoutSettingsFile) {
    auto w = Open();
    const void* box = PressAbout(*w, [](TfrmAbout& about) {
        EXPECT_EQ(about.windowTitle(), "About ...");
        EXPECT_EQ(about.lblProductName->text(), "");
        EXPECT_EQ(about.lblProductVersion->text(), QString("Product Version: ") + AppVersion);
        EXPECT_EQ(about.lblCopyright->text(), "Copyright (c)  ");
        EXPECT_EQ(about.memAbout->toPlainText(), "");
        EXPECT_EQ(about.editAbout->text(), "Ok");
    });
    EXPECT_NE(box, nullptr);
}

TEST_F(AboutBoxTest, WithSettingsFileAndFreshForEveryPress) {
    std::string about;
    for (int i = 1; i <= 12; ++i) {
        about += "About line " + std::to_string(i) + (i % 2 ? "\n" : "\r\n");
    }
    dir.write("dbsettings.dat",
              EncryptSettingsBytes(SettingsTag{"ApplicationName"}.Element("Feed Wizard") +
                                   SettingsTag{"CopyrightYears"}.Element("2020-2026") +
                                   SettingsTag{"CopyrightCompany"}.Element("Wizard Ltd.") +
                                   SettingsTag{"AboutText"}.Element(about)));
    auto w = Open();
    const auto check = [](TfrmAbout& box) {
        EXPECT_EQ(box.windowTitle(), "About Feed Wizard...");
        EXPECT_EQ(box.lblProductName->text(), "Feed Wizard");
        EXPECT_EQ(box.lblProductVersion->text(), QString("Product Version: ") + AppVersion);
        EXPECT_EQ(box.lblCopyright->text(), "Copyright (c) 2020-2026 Wizard Ltd.");
        // One line per line break; the last break ends the text.
        EXPECT_EQ(box.memAbout->blockCount(), 13);
        EXPECT_EQ(box.memAbout->document()->findBlockByNumber(11).text(), "About line 12");
        EXPECT_TRUE(box.memAbout->isReadOnly());
        EXPECT_GT(box.memAbout->verticalScrollBar()->maximum(), 0);
        QTest::keyClicks(box.memAbout, "typed");
        EXPECT_FALSE(box.memAbout->toPlainText().contains("typed"));
    };
    const void* first = PressAbout(*w, check);
    ASSERT_NE(first, nullptr);
    const void* second = PressAbout(*w, check);
    ASSERT_NE(second, nullptr);
}

TEST_F(AboutBoxTest, LayoutAndFrame) {
    const BrandSettingsRecord none;
    TfrmAbout box(none, config, services, msgMain);
    QWidget* panel = box.findChild<QWidget*>("bsSkinPanel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(box.memAbout->parentWidget(), panel);
    EXPECT_EQ(box.memAbout->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(box.editAbout->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

// The box shows where the library that users upload is, and opens its folder.
TEST_F(AboutBoxTest, FeedreaderFolderOpens) {
    const BrandSettingsRecord none;
    config.feedreaderFile = "";
    EXPECT_TRUE(TfrmAbout(none, config, services, msgMain).lblFeedreader->isHidden());
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("share"))));
    config.feedreaderFile = dir.file("share/feedreader.php");
    for (const bool opens : {true, false}) {
        rec->startSucceeds = opens;
        TfrmAbout box(none, config, services, msgMain);
        EXPECT_FALSE(box.lblFeedreader->isHidden());
        box.lblFeedreader->linkActivated("#");
        EXPECT_EQ(rec->openedFolders.back(), dir.file("share"));
        EXPECT_EQ(rec->messageTexts().size(), opens ? 0u : 1u);
    }
    EXPECT_NE(
        rec->messageTexts().back().find(
            QDir::toNativeSeparators(QString::fromStdString(dir.file("share"))).toStdString()),
        std::string::npos);
}

}  // namespace
}  // namespace zolt
