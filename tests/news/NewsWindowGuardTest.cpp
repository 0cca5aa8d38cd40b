#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

#include <gtest/gtest.h>

#include "net/HttpClient.h"
#include "news/ui/TfrmNews.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "toolkit/HtmlView.h"

namespace zolt {
namespace {

void ClickRow(QTreeWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(row)).center());
}

TEST(NewsWindowWhileLoading, AnotherRowCannotBeSelectedUntilThePageHasCome) {
    // The server never answers: the first fetch waits until it is cut off.
    test::ScriptedHttpServer server(
        [](const test::HttpRequestSeen&) -> std::optional<std::string> { return std::nullopt; });
    test::TempDir dir;
    auto rec = std::make_shared<test::Recorder>();
    const Services services = test::MakeRecordingServices(rec);
    const ProgramConfig config = test::TestConfig(dir.path() + "/");
    const MessageBox msgMain(nullptr, test::RecordingAnswer(rec));
    BrandSettingsRecord brand;
    brand.BranderType = "Master";
    brand.BranderCode = "PRODG";
    brand.MasterPublID = "PUBG";
    brand.MasterNewsBaseURL = server.url();
    HttpClient http;
    const NewsLineList lines = {"7^First^d1", "8^Second^d2", "9^Third^d3"};

    TfrmNews w(config, services, msgMain, http, NewsChannel(brand), lines);
    auto* list = w.findChild<QTreeWidget*>("lvwItems");
    ASSERT_NE(list, nullptr);

    bool sawLoading = false;
    int requestsWhileWaiting = -1;
    QTreeWidgetItem* selectedWhileWaiting = nullptr;
    // The window opens on the newest row; this runs inside the wait for its page.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (server.requests().empty()) {
            return;
        }
        poll.stop();
        sawLoading = w.detailsLoading();
        ClickRow(list, 1);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Home);
        requestsWhileWaiting = static_cast<int>(server.requests().size());
        selectedWhileWaiting = list->currentItem();
        http.Disconnect();
    });
    poll.start(5);
    w.show();
    ASSERT_TRUE(test::WaitFor([&] { return requestsWhileWaiting >= 0 && !w.detailsLoading(); }));

    EXPECT_TRUE(sawLoading);
    EXPECT_EQ(requestsWhileWaiting, 1);
    EXPECT_EQ(selectedWhileWaiting, list->topLevelItem(2));
    EXPECT_FALSE(w.detailsLoading());
    ASSERT_EQ(server.requests().size(), 1u);
    // The request carried the newest row's id.
    bool sentNewestId = false;
    for (const auto& [name, value] : server.requests()[0].formFields()) {
        sentNewestId = sentNewestId || (name == "newsid" && value == "9");
    }
    EXPECT_TRUE(sentNewestId);
    EXPECT_FALSE(dir.exists("dbsettings.dat"));
}

}  // namespace
}  // namespace zolt
