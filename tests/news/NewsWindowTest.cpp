#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "net/HttpClient.h"
#include "news/LastNewsId.h"
#include "news/NewsClient.h"
#include "news/ui/TfrmNews.h"
#include "tests/news/NewsIdText.h"
#include "tests/news/NewsSite.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "toolkit/HtmlView.h"

namespace zolt {
namespace {

using test::Id;
using test::Text;

class NewsWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (test::PhpBinary().empty()) {
            GTEST_SKIP() << "php is not installed";
        }
        site = std::make_unique<test::NewsSite>();
        brand = site->Brand("PRODW");
        site->Admin({"add-product", "PRODW"});
        ids[0] = site->AddNews("PRODW", "Oldest", "<p>one</p>");
        ids[1] = site->AddNews("PRODW", "Middle", "<p>two</p>");
        ids[2] = site->AddNews("PRODW", "Newest", "<p>three</p>");
        test::WriteSettings(dir, test::SettingsText(brand));
        services = test::MakeRecordingServices(rec);
        config = test::TestConfig(dir.path() + "/");
    }

    std::unique_ptr<TfrmNews> Open(const NewsLineList& lines) {
        newsList = lines;
        auto w = std::make_unique<TfrmNews>(config, services, msgMain, http, NewsChannel(brand),
                                            newsList);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        list = w->findChild<QTreeWidget*>("lvwItems");
        page = w->findChild<HtmlView*>("prfEditorNews");
        return w;
    }
    void Click(int row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }
    // The page requests the server logged since the last call.
    int DetailRequests() {
        const std::string log = site->log();
        int n = 0;
        for (size_t p = log.find("getnewsdetails.php"); p != std::string::npos;
             p = log.find("getnewsdetails.php", p + 1)) {
            ++n;
        }
        return n;
    }

    std::unique_ptr<test::NewsSite> site;
    BrandSettingsRecord brand;
    std::string ids[3];
    test::TempDir dir;
    std::shared_ptr<test::Recorder> rec = std::make_shared<test::Recorder>();
    Services services;
    ProgramConfig config;
    MessageBox msgMain{nullptr, test::RecordingAnswer(rec)};
    HttpClient http;
    NewsLineList newsList;
    QTreeWidget* list = nullptr;
    HtmlView* page = nullptr;
};

TEST_F(NewsWindow, ListsTheServersLinesInOrderWithoutShowingTheId) {
    const NewsLineList lines = NewsClient::For(NewsChannel(brand), http)->LastNews().value();
    ASSERT_EQ(lines.size(), 3u);
    auto w = Open(lines);
    EXPECT_EQ(w->windowTitle(), "News");
    EXPECT_EQ(w->size(), QSize(682, 411));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    // The server sends the newest first.
    const char* titles[] = {"Newest", "Middle", "Oldest"};
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(list->topLevelItem(row)->text(0).toStdString(), titles[row]);
        EXPECT_EQ(list->topLevelItem(row)->text(1), "2026-12-08");
        EXPECT_EQ(list->topLevelItem(row)->text(2).toStdString(), ids[2 - row]);
    }
    EXPECT_EQ(list->headerItem()->text(0), "News Title");
    EXPECT_EQ(list->headerItem()->text(1), "Published");
    EXPECT_TRUE(list->isColumnHidden(2));
    EXPECT_EQ(list->header()->count() - list->header()->hiddenSectionCount(), 2);
    EXPECT_EQ(list->columnWidth(1), 160);
    EXPECT_EQ(list->columnWidth(0) + 160, list->viewport()->width());
    // It opens on the newest message, which then counts as read.
    ASSERT_TRUE(test::WaitFor([&] { return !page->htmlSource().empty(); }, 10000));
    EXPECT_EQ(page->htmlSource(), "<p>three</p>");
    EXPECT_EQ(list->selectedItems(), QList<QTreeWidgetItem*>{list->topLevelItem(0)});
    EXPECT_EQ(Text(ReadLastNewsId(config)), ids[2]);
    EXPECT_EQ(w->findChild<QSplitter*>("splNews")->handleWidth(), 10);
    EXPECT_EQ(w->findChild<QPushButton*>("btnExit")->text(), "Close");
}

TEST_F(NewsWindow, SelectingFetchesThePageOnceAndKeepsTheHighestIdRead) {
    auto w = Open({ids[0] + "^Oldest^d", ids[1] + "^Middle^d"});
    ASSERT_TRUE(test::WaitFor([&] { return page->htmlSource() == "<p>two</p>"; }, 10000));
    EXPECT_EQ(Text(ReadLastNewsId(config)), ids[1]);
    // The server's log comes in on its own time.
    EXPECT_TRUE(test::WaitFor([&] { return DetailRequests() == 1; }, 10000));

    Click(0);
    EXPECT_EQ(page->htmlSource(), "<p>one</p>");
    EXPECT_EQ(test::ReadSettings(dir),
              test::SettingsText(brand) + "<%%LastNewsId%%>" + ids[1] + "<%%/LastNewsId%%>\r\n");
    EXPECT_TRUE(rec->messages.empty());
    EXPECT_FALSE(w->detailsLoading());
    EXPECT_EQ(list->viewport()->cursor().shape(), Qt::ArrowCursor);
    // One more request for the page selected, not one per signal of the list.
    EXPECT_TRUE(test::WaitFor([&] { return DetailRequests() >= 2; }, 10000));
    EXPECT_EQ(DetailRequests(), 2);
}

TEST_F(NewsWindow, FailedFetchKeepsThePreviousPageAndTheStoredId) {
    auto w = Open({ids[1] + "^Middle^d", "0^Withdrawn^d"});
    ASSERT_TRUE(test::WaitFor([&] { return page->htmlSource() == "<p>two</p>"; }, 10000));
    const std::string before = dir.read("dbsettings.dat");
    Click(1);
    EXPECT_EQ(
        rec->messageTexts(),
        std::vector<std::string>{"There is a trouble with this news. Contact your provider."});
    EXPECT_EQ(page->htmlSource(), "<p>two</p>");
    EXPECT_EQ(dir.read("dbsettings.dat"), before);
    EXPECT_EQ(Text(ReadLastNewsId(config)), ids[1]);
}

TEST_F(NewsWindow, ShortLinesShowMissingFieldsEmpty) {
    auto w = Open({"9^Lone title", "10", ""});
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Lone title");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "");
    EXPECT_EQ(list->topLevelItem(1)->text(2), "10");
    EXPECT_EQ(list->topLevelItem(2)->text(2), "");
}

TEST_F(NewsWindow, BrandWithoutChannelFetchesNothing) {
    brand.BranderType = "Free";
    auto w = Open({ids[2] + "^Newest^d"});
    Click(0);
    EXPECT_TRUE(page->htmlSource().empty());
    EXPECT_EQ(Text(ReadLastNewsId(config)), "");
    EXPECT_FALSE(w->detailsLoading());
}

TEST_F(NewsWindow, CloseEndsTheWindowWithOk) {
    auto w = Open({ids[2] + "^Newest^d"});
    QTest::mouseClick(w->findChild<QPushButton*>("btnExit"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace zolt
