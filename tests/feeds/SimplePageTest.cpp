#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

#include <gtest/gtest.h>

#include "feeds/ui/SimplePage.h"
#include "tests/feeds/PageTestUtil.h"
#include "tests/support/RecordingServices.h"
#include "toolkit/GuardedApplication.h"
#include "toolkit/NumericField.h"

namespace zolt {
namespace {

using test::Control;

const QString kCopied =
    "The code was copied to the clipboard! Now you can paste it inside your webpage.";

QString Snippet(const QString& line3) {
    return "<?php\r\ninclude_once \"feedreader.php\";\r\n" + line3 + "\r\n?>\r\n";
}

class SimplePageTest : public ::testing::Test {
  protected:
    SimplePageTest()
        : recorder(std::make_shared<test::Recorder>()),
          services(test::MakeRecordingServices(recorder)),
          answer(test::RecordingAnswer(recorder)),
          msgMain(nullptr,
                  [this](MessageKind kind, const std::string& text) { return answer(kind, text); }),
          page(config, services, msgMain) {
        page.resize(778, 408);
        page.show();
        sites = Control<QComboBox>(page, "cbxSites");
        keyword = Control<QLineEdit>(page, "edtKeyword");
        feed = Control<QLineEdit>(page, "edtRSSFeed");
        titles = Control<QCheckBox>(page, "chkFeedTitles");
        items = Control<NumericField>(page, "edtFNumItems");
        cache = Control<NumericField>(page, "edtFChacheTime");
        code = Control<QPlainTextEdit>(page, "memFCode");
    }

    void click(const char* button) {
        QTest::mouseClick(Control<QPushButton>(page, button), Qt::LeftButton);
    }
    static void typeOver(QLineEdit* field, const QString& keys) {
        field->selectAll();
        QTest::keyClicks(field, keys);
    }
    // The code box as the clipboard gets it.
    QString copied() {
        click("btnFCopyToClipboard");
        return QGuiApplication::clipboard()->text();
    }

    std::shared_ptr<test::Recorder> recorder;
    Services services;
    ProgramConfig config;
    MessageAnswer answer;
    MessageBox msgMain;
    SimplePage page;
    QComboBox* sites;
    QLineEdit* keyword;
    QLineEdit* feed;
    QCheckBox* titles;
    NumericField* items;
    NumericField* cache;
    QPlainTextEdit* code;
};

TEST_F(SimplePageTest, ControlsStandWithTheirCaptionsAndDefaults) {
    test::ExpectCaptions(
        page,
        {
            {"lblIntro",
             "The News Feed Generator create a dynamic RSS Feed for your site in seconds. Please "
             "find a RSS Feed in the top popular news sites or just enter the full URL address "
             "of a custom RSS Feed."},
            {"btnSearchFeed", "Find RSS Feed"},
            {"chkFeedTitles", "Show Feed Titles"},
            {"btnFGenerateCode", "Generate Code"},
            {"lblFInstruction",
             "Insert the following generated code in your php webpage in the place where you "
             "want to show the feed."},
            {"btnFCopyToClipboard", "Copy To Clipboard"},
            {"btnFPreview", "Preview"},
            {"lblSites", "Source Site:"},
            {"lblKeyword", "Search Keyword:"},
            {"lblRSSFeed", "RSS Feed Address:"},
            {"lblFNumItems", "Number of Items:"},
            {"lblFChacheTime", "Cache Time:"},
            {"lblFChacheSeconds", "seconds. (Set to 0 if you don't want use to use the cache)"},
        });
    test::ExpectPreviewBesideCopy(page, "btnFCopyToClipboard", "btnFPreview");

    ASSERT_EQ(sites->count(), 3);
    EXPECT_EQ(sites->itemText(0), "Google News");
    EXPECT_EQ(sites->itemText(1), "Yahoo News");
    EXPECT_EQ(sites->itemText(2), "BBC News");
    EXPECT_EQ(sites->currentIndex(), 0);
    EXPECT_FALSE(sites->isEditable());
    EXPECT_EQ(keyword->text(), "");
    EXPECT_EQ(feed->text(), "");
    EXPECT_TRUE(titles->isChecked());
    EXPECT_EQ(items->value(), 10);
    EXPECT_EQ(items->text(), "10");
    EXPECT_EQ(items->minValue(), 0);
    EXPECT_EQ(items->maxValue(), 10000);
    EXPECT_EQ(cache->value(), 120);
    EXPECT_FALSE(cache->hasBounds());
    EXPECT_EQ(code->toPlainText(), "");
    EXPECT_EQ(code->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(code->isReadOnly());
    EXPECT_EQ(code->parentWidget()->objectName(), "panFCode");
}

TEST_F(SimplePageTest, TabVisitsTheControlsInOrder) {
    const std::vector<std::string> order = {
        "cbxSites",      "edtKeyword",          "btnSearchFeed",  "edtRSSFeed",
        "chkFeedTitles", "edtFNumItems",        "edtFChacheTime", "btnFGenerateCode",
        "memFCode",      "btnFCopyToClipboard", "btnFPreview",    "cbxSites"};
    EXPECT_EQ(test::TabOrder(page, sites, order.size()), order);
}

TEST_F(SimplePageTest, FindRssFeedWritesTheEncodedSearchAddress) {
    QTest::keyClicks(keyword, "  red car  ");
    click("btnSearchFeed");
    EXPECT_EQ(
        feed->text(),
        "http://news.google.com/news?pz=1&cf=all&ned=es_us&hl=en&q=red+car&cf=all&output=rss");

    // The user picks the BBC from the list with the keyboard.
    sites->setFocus();
    QTest::keyClick(sites, Qt::Key_Down);
    QTest::keyClick(sites, Qt::Key_Down);
    ASSERT_EQ(sites->currentText(), "BBC News");
    click("btnSearchFeed");
    EXPECT_EQ(feed->text(), "http://newsapi.bbc.co.uk/feeds/search/news+sport/red+car");

    sites->setCurrentIndex(1);
    typeOver(keyword, "AT&T #1 100% caf");
    QTest::sendKeyEvent(QTest::Click, keyword, Qt::Key_Eacute, QString(QChar(0xE9)),
                        Qt::NoModifier);
    click("btnSearchFeed");
    EXPECT_EQ(
        feed->text(),
        "http://news.search.yahoo.com/news/rss?p=AT%26T+%231+100%25+caf%C3%A9&ei=UTF-8&fl=0&x=wrt");
    EXPECT_TRUE(recorder->messages.empty());
}

TEST_F(SimplePageTest, BlankKeywordWarnsAndKeepsTheFeedAddress) {
    feed->setText("http://kept/");
    for (const QString blank : {"", "   "}) {
        typeOver(keyword, blank);
        click("btnSearchFeed");
    }
    keyword->setText("\t \t");
    click("btnSearchFeed");
    ASSERT_EQ(recorder->messages.size(), 3u);
    for (const auto& m : recorder->messages) {
        EXPECT_EQ(m.kind, MessageKind::Warning);
        EXPECT_EQ(m.text, "Please provide a valid Search Keyword.");
    }
    EXPECT_EQ(feed->text(), "http://kept/");

    sites->setCurrentIndex(-1);
    typeOver(keyword, "cars");
    click("btnSearchFeed");
    EXPECT_EQ(feed->text(), "http://kept/");
    EXPECT_EQ(recorder->messages.size(), 3u);
}

TEST_F(SimplePageTest, GenerateWritesTheSnippetFromTheFieldsValues) {
    QTest::keyClicks(feed, "  http://example.com/rss?a=1&b=2  ");
    click("btnFGenerateCode");
    EXPECT_EQ(copied(), Snippet("getnewsfeed(\"http://example.com/rss?a=1&b=2\",120,1,10);"));
    EXPECT_EQ(code->toPlainText().count("<?php"), 1);

    struct Row {
        const char* items;
        const char* cache;
        bool tick;
        const char* itemsText;
        const char* line3;
    };
    const Row rows[] = {
        {"20000", "0", false, "10000",
         "getnewsfeed(\"http://example.com/rss?a=1&b=2\",0,0,10000);"},
        {"-5", "-5", true, "0", "getnewsfeed(\"http://example.com/rss?a=1&b=2\",-5,1,0);"},
        {"007", "120", false, "007", "getnewsfeed(\"http://example.com/rss?a=1&b=2\",120,0,7);"},
    };
    for (const Row& row : rows) {
        typeOver(items, row.items);
        typeOver(cache, row.cache);
        if (row.tick != titles->isChecked()) {
            QTest::mouseClick(titles, Qt::LeftButton, {}, QPoint(8, titles->height() / 2));
        }
        ASSERT_EQ(titles->isChecked(), row.tick);
        EXPECT_EQ(items->text(), row.itemsText);
        click("btnFGenerateCode");
        EXPECT_EQ(copied(), Snippet(row.line3)) << row.items;
    }

    // A cleared field writes the last number it held.
    items->clear();
    click("btnFGenerateCode");
    EXPECT_EQ(copied(), Snippet("getnewsfeed(\"http://example.com/rss?a=1&b=2\",120,0,7);"));
}

TEST_F(SimplePageTest, PhpSpecialCharactersAreEscaped) {
    QTest::keyClicks(feed, "http://x/?q=\"${system('id')}\"\\");
    click("btnFGenerateCode");
    EXPECT_EQ(copied(),
              Snippet("getnewsfeed(\"http://x/?q=\\\"\\${system('id')}\\\"\\\\\",120,1,10);"));
}

TEST_F(SimplePageTest, BlankFeedWarnsAndKeepsTheCode) {
    QTest::keyClicks(feed, "http://a/");
    click("btnFGenerateCode");
    const QString before = code->toPlainText();
    feed->setText(" \t ");
    click("btnFGenerateCode");
    ASSERT_EQ(recorder->messages.size(), 1u);
    EXPECT_EQ(recorder->messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(recorder->messages[0].text, "Please provide a valid RSS Feed.");
    EXPECT_EQ(code->toPlainText(), before);

    // A handler that fails is reported, not unwound through the button's signal.
    std::string reported;
    GuardedApplication::SetErrorReporter([&](const std::string& text) { reported = text; });
    answer = [](MessageKind, const std::string&) -> bool {
        throw std::runtime_error("no message box");
    };
    Control<QPushButton>(page, "btnFGenerateCode")->click();
    GuardedApplication::SetErrorReporter(nullptr);
    EXPECT_EQ(reported, "no message box");
}

TEST_F(SimplePageTest, CopyPutsTheBoxTextOnTheClipboardAndTellsSo) {
    QGuiApplication::clipboard()->setText("something else");
    click("btnFCopyToClipboard");  // before any code: copies the empty box
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
    ASSERT_EQ(recorder->messages.size(), 1u);
    EXPECT_EQ(recorder->messages[0].kind, MessageKind::Information);
    EXPECT_EQ(QString::fromStdString(recorder->messages[0].text), kCopied);

    QTest::keyClicks(feed, "http://a/");
    click("btnFGenerateCode");
    click("btnFGenerateCode");  // replaces, never appends
    // The user adds a line of their own at the end.
    code->moveCursor(QTextCursor::End);
    QTest::keyClicks(code, "<!-- mine -->");
    // Where the library that the snippet includes is to be taken from.
    config.feedreaderFile = "/srv/brand/feedreader.php";
    const QString text = copied();
    EXPECT_EQ(text, Snippet("getnewsfeed(\"http://a/\",120,1,10);") + "<!-- mine -->");
    EXPECT_FALSE(code->textCursor().hasSelection());
    EXPECT_EQ(code->textCursor().position(), 0);
    ASSERT_EQ(recorder->messages.size(), 2u);
    EXPECT_EQ(recorder->messages[1].kind, MessageKind::Information);
    // The folder as the system writes it ("C:\\srv\\brand" on Windows).
    const QString folder = QDir::toNativeSeparators(QFileInfo("/srv/brand/x").absolutePath());
    EXPECT_EQ(QString::fromStdString(recorder->messages[1].text),
              kCopied +
                  "\n\nUpload feedreader.php beside that page; this installation holds it in " +
                  folder + ".");
}

}  // namespace
}  // namespace zolt
