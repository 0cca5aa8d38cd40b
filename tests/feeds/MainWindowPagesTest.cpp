// The generator pages inside the real main window, with its skin.
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "app/TfrmMain.h"
#include "branding/BrandSettings.h"
#include "feeds/ui/AdvancedPage.h"
#include "feeds/ui/SimplePage.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "toolkit/Skin.h"

namespace zolt {
namespace {

template <typename T>
T* In(QWidget* page, const char* name) {
    T* w = page->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

TEST(MainWindowPages, BothGeneratorsWorkInTheRunningWindow) {
    ApplySkin(BuiltInSkin());
    test::TempDir dir;
    auto recorder = std::make_shared<test::Recorder>();
    const Services services = test::MakeRecordingServices(recorder);
    const ProgramConfig config = test::TestConfig(dir.path() + "/");
    auto window = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(recorder));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    QWidget* simple = window->pageSimple;
    ASSERT_EQ(window->ntbMain->currentWidget(), simple);
    // Every label shows its whole text in the skinned window.
    for (QWidget* page :
         {static_cast<QWidget*>(window->pageSimple), static_cast<QWidget*>(window->pageAdvanced)}) {
        for (QLabel* label : page->findChildren<QLabel*>()) {
            if (!label->wordWrap()) {
                EXPECT_GE(label->width(), label->sizeHint().width())
                    << label->objectName().toStdString();
            }
        }
    }

    QTest::keyClicks(In<QLineEdit>(simple, "edtKeyword"), "AT&T");
    QTest::mouseClick(In<QPushButton>(simple, "btnSearchFeed"), Qt::LeftButton);
    QTest::mouseClick(In<QPushButton>(simple, "btnFGenerateCode"), Qt::LeftButton);
    QTest::mouseClick(In<QPushButton>(simple, "btnFCopyToClipboard"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "<?php\r\ninclude_once \"feedreader.php\";\r\n"
              "getnewsfeed(\"http://news.google.com/news?pz=1&cf=all&ned=es_us&hl=en&q=AT%26T"
              "&cf=all&output=rss\",120,1,10);\r\n?>\r\n");

    QTest::mouseClick(window->btnAdvanced, Qt::LeftButton);
    QWidget* advanced = window->pageAdvanced;
    ASSERT_EQ(window->ntbMain->currentWidget(), advanced);
    auto* sites = In<QComboBox>(advanced, "cbxEbaySites");
    EXPECT_EQ(sites->count(), 23);
    EXPECT_EQ(sites->currentText(), "United States");
    QTest::keyClicks(In<QLineEdit>(advanced, "edtEbayCampaign"), "5335");
    QTest::keyClicks(In<QLineEdit>(advanced, "edtMainKeyword"), "digital camera");
    QTest::keyClicks(In<QLineEdit>(advanced, "edtAlternativeKeyword"), "lens");
    QTest::mouseClick(In<QPushButton>(advanced, "btnEGenerate"), Qt::LeftButton);
    QTest::mouseClick(In<QPushButton>(advanced, "btnECopyToClipboard"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "<?php\r\ninclude_once \"feedreader.php\";\r\n"
              "getebayfeed(\"5335\",0,\"digital camera\",\"lens\",120,10);\r\n?>\r\n");

    const std::vector<std::string> expected(
        2, "The code was copied to the clipboard! Now you can paste it inside your webpage.");
    EXPECT_EQ(recorder->messageTexts(), expected);
    window->close();
}

}  // namespace
}  // namespace zolt
