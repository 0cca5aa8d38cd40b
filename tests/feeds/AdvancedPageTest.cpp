#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "feeds/ui/AdvancedPage.h"
#include "tests/feeds/PageTestUtil.h"
#include "tests/support/RecordingServices.h"
#include "toolkit/NumericField.h"

namespace zolt {
namespace {

using test::Control;

QString Snippet(const QString& line3) {
    return "<?php\r\ninclude_once \"feedreader.php\";\r\n" + line3 + "\r\n?>\r\n";
}

class AdvancedPageTest : public ::testing::Test {
  protected:
    AdvancedPageTest()
        : recorder(std::make_shared<test::Recorder>()),
          services(test::MakeRecordingServices(recorder)),
          msgMain(nullptr, test::RecordingAnswer(recorder)),
          page(config, services, msgMain) {
        page.FillEbaySites();
        page.resize(778, 408);
        page.show();
        campaign = Control<QLineEdit>(page, "edtEbayCampaign");
        sites = Control<QComboBox>(page, "cbxEbaySites");
        mainKeyword = Control<QLineEdit>(page, "edtMainKeyword");
        alternative = Control<QLineEdit>(page, "edtAlternativeKeyword");
        auctions = Control<NumericField>(page, "edtENumAuctions");
        cache = Control<NumericField>(page, "edtECache");
        code = Control<QPlainTextEdit>(page, "memECode");
    }

    void click(const char* button) {
        QTest::mouseClick(Control<QPushButton>(page, button), Qt::LeftButton);
    }
    static void typeOver(QLineEdit* field, const QString& keys) {
        field->selectAll();
        QTest::keyClicks(field, keys);
    }
    QString generateAndCopy() {
        click("btnEGenerate");
        click("btnECopyToClipboard");
        return QGuiApplication::clipboard()->text();
    }

    std::shared_ptr<test::Recorder> recorder;
    Services services;
    ProgramConfig config;
    MessageBox msgMain;
    AdvancedPage page;
    QLineEdit* campaign;
    QComboBox* sites;
    QLineEdit* mainKeyword;
    QLineEdit* alternative;
    NumericField* auctions;
    NumericField* cache;
    QPlainTextEdit* code;
};

TEST_F(AdvancedPageTest, ControlsStandWithTheirCaptionsAndDefaults) {
    test::ExpectCaptions(
        page,
        {
            {"lblEIntro",
             "The Ebay Feed Generator creates a custom feed of ebay items related your search "
             "keywords. You can add your Campaign ID to earn money with each sale."},
            {"btnEGenerate", "Generate Code"},
            {"lblEInstruction",
             "Insert the following generated code in your php webpage in the place where you "
             "want to show the feed."},
            {"btnECopyToClipboard", "Copy To Clipboard"},
            {"btnEPreview", "Preview"},
            {"lblEbayCampaign", "Ebay Campaign ID:"},
            {"lblEbaySites", "Ebay Site:"},
            {"lblMainKeyword", "Main Search Keyword:"},
            {"lblAlternativeKeyword", "Alternative Search Keyword:"},
            {"lblENumAuctions", "Number of Auctions:"},
            {"lblECache", "Cache Time:"},
            {"lblECacheSeconds", "seconds. (Set to 0 if you don't want use to use the cache)"},
        });
    test::ExpectPreviewBesideCopy(page, "btnECopyToClipboard", "btnEPreview");
    EXPECT_EQ(campaign->text(), "");
    EXPECT_EQ(mainKeyword->text(), "");
    EXPECT_EQ(alternative->text(), "");
    EXPECT_EQ(auctions->value(), 10);
    EXPECT_EQ(auctions->minValue(), 0);
    EXPECT_EQ(auctions->maxValue(), 10000);
    EXPECT_EQ(cache->value(), 120);
    EXPECT_FALSE(cache->hasBounds());
    EXPECT_FALSE(sites->isEditable());
    EXPECT_EQ(code->toPlainText(), "");
    EXPECT_EQ(code->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(AdvancedPageTest, SiteListAndIdsAreFilledTogetherWithTheLastRowChosen) {
    for (int round = 0; round < 2; ++round) {  // filling again does not duplicate
        ASSERT_EQ(sites->count(), 23);
        ASSERT_EQ(page.EbaySiteIds().size(), 23u);
        EXPECT_EQ(sites->currentIndex(), 22);
        EXPECT_EQ(sites->currentText(), "United States");
        EXPECT_EQ(sites->itemText(0), "Australia");
        EXPECT_EQ(page.EbaySiteIds()[0], "15");
        EXPECT_EQ(sites->itemText(9), "Ireland");
        EXPECT_EQ(sites->itemText(10), "India");
        EXPECT_EQ(sites->itemText(17), "Sweden");
        EXPECT_EQ(sites->itemText(18), "Spain");
        EXPECT_EQ(page.EbaySiteIds()[sites->findText("Belgium(French)")], "23");
        page.FillEbaySites();
    }
}

TEST_F(AdvancedPageTest, TabVisitsTheControlsInOrder) {
    const std::vector<std::string> order = {
        "edtEbayCampaign",     "cbxEbaySites", "edtMainKeyword", "edtAlternativeKeyword",
        "edtENumAuctions",     "edtECache",    "btnEGenerate",   "memECode",
        "btnECopyToClipboard", "btnEPreview",  "edtEbayCampaign"};
    EXPECT_EQ(test::TabOrder(page, campaign, order.size()), order);
}

TEST_F(AdvancedPageTest, TheThreeChecksComeInOrder) {
    click("btnEGenerate");
    QTest::keyClicks(campaign, "  5335  ");
    click("btnEGenerate");
    QTest::keyClicks(mainKeyword, "\t");  // Tab leaves the field: still blank
    mainKeyword->setText(" \t ");
    click("btnEGenerate");
    typeOver(mainKeyword, "camera");
    click("btnEGenerate");
    const std::vector<std::string> expected = {
        "Please provide a valid Ebay Campaign ID.", "Please provide a valid Main Keyword.",
        "Please provide a valid Main Keyword.", "Please provide a valid Alternative Keyword."};
    EXPECT_EQ(recorder->messageTexts(), expected);
    for (const auto& m : recorder->messages) {
        EXPECT_EQ(m.kind, MessageKind::Warning);
    }
    EXPECT_EQ(code->toPlainText(), "");
}

TEST_F(AdvancedPageTest, GenerateWritesTheSnippetFromTheFields) {
    QTest::keyClicks(campaign, "  5335  ");
    QTest::keyClicks(mainKeyword, " digital camera ");
    QTest::keyClicks(alternative, "lens");
    EXPECT_EQ(generateAndCopy(),
              Snippet("getebayfeed(\"5335\",0,\"digital camera\",\"lens\",120,10);"));

    struct Row {
        const char* site;
        const char* auctions;
        const char* cache;
        const char* line3;
    };
    const Row rows[] = {
        {"Belgium(French)", "20000", "-1",
         "getebayfeed(\"5335\",23,\"digital camera\",\"lens\",-1,10000);"},
        {"Canada", "007", "0", "getebayfeed(\"5335\",2,\"digital camera\",\"lens\",0,7);"},
        {"United Kingdom", "-5", "120",
         "getebayfeed(\"5335\",3,\"digital camera\",\"lens\",120,0);"},
    };
    for (const Row& row : rows) {
        sites->setCurrentIndex(sites->findText(row.site));
        typeOver(auctions, row.auctions);
        typeOver(cache, row.cache);
        EXPECT_EQ(generateAndCopy(), Snippet(row.line3)) << row.site;
    }

    // One step up from the last item with the keyboard.
    sites->setCurrentIndex(sites->count() - 1);
    sites->setFocus();
    QTest::keyClick(sites, Qt::Key_Up);
    typeOver(alternative, "say \"$x\"");
    EXPECT_EQ(generateAndCopy(),
              Snippet("getebayfeed(\"5335\",3,\"digital camera\",\"say \\\"\\$x\\\"\",120,0);"));
    EXPECT_EQ(code->toPlainText().count("getebayfeed"), 1);
    EXPECT_FALSE(code->textCursor().hasSelection());
    EXPECT_EQ(code->textCursor().position(), 0);
    for (const auto& m : recorder->messages) {
        EXPECT_EQ(m.kind, MessageKind::Information);
        EXPECT_EQ(m.text,
                  "The code was copied to the clipboard! Now you can paste it inside your "
                  "webpage.");
    }
    EXPECT_EQ(recorder->messages.size(), 5u);
}

}  // namespace
}  // namespace zolt
