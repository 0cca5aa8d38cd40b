#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/TfrmMain.h"
#include "branding/BrandSettings.h"
#include "net/HttpClient.h"
#include "news/UpdateCheck.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"

namespace zolt {
namespace {

using test::HttpRequestSeen;
using test::ScriptedHttpServer;

class UpdateButton : public ::testing::Test {
  protected:
    // The window on a program folder, its update site on `server`; the
    // start-up timer is held back so that only the button talks to the site.
    std::unique_ptr<TfrmMain> Open(const ScriptedHttpServer& server) {
        services = test::MakeRecordingServices(rec);
        config = test::TestConfig(dir.path() + "/");
        config.updateBaseUrl = server.url("liveupdate/rssfeed_zolt/");
        config.updatePublicKey = "a2V5a2V5a2V5a2V5a2V5a2V5a2V5a2V5a2V5a2V5a2U=";
        auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
        w->Timer1->stop();
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    test::TempDir dir;
    std::shared_ptr<test::Recorder> rec = std::make_shared<test::Recorder>();
    Services services;
    ProgramConfig config;
};

ScriptedHttpServer::Handler Serving(const std::string& version) {
    return [version](const HttpRequestSeen& r) {
        if (r.target != "/liveupdate/rssfeed_zolt/mainappupdate.inf") {
            return ScriptedHttpServer::Reply(404, "");
        }
        return ScriptedHttpServer::Reply(200, "[APPLICATION]\r\nVersion=" + version + "\r\n");
    };
}

TEST_F(UpdateButton, AcceptedUpdateStartsTheUpdaterAndClosesTheWindow) {
    ScriptedHttpServer server(Serving("2.02"));
    dir.write(kUpdaterProgram, "");
    auto w = Open(server);
    w->bsSkinSpeedButton1->click();
    ASSERT_EQ(rec->processes.size(), 1u);
    EXPECT_EQ(rec->processes[0].program, dir.file(kUpdaterProgram));
    EXPECT_EQ(rec->processes[0].args,
              (std::vector<std::string>{config.updateBaseUrl, AppVersion, "A"}));
    EXPECT_EQ(rec->messageTexts(),
              (std::vector<std::string>{NewUpdateQuestion("2.02"), kUpdateCloseQuestion}));
    EXPECT_FALSE(w->isVisible());
}

TEST_F(UpdateButton, NoUpdateSaysSoAndTheWindowStays) {
    ScriptedHttpServer server(Serving(AppVersion));
    auto w = Open(server);
    w->bsSkinSpeedButton1->click();
    EXPECT_EQ(rec->messageTexts(), std::vector<std::string>{kNoUpdateMessage});
    EXPECT_TRUE(rec->processes.empty());
    EXPECT_TRUE(w->isVisible());
    // The silent check of the start-up timer says nothing.
    rec->messages.clear();
    w->RunUpdateCheck(true);
    EXPECT_TRUE(rec->messages.empty());
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(UpdateButton, ClosingTheWindowDuringTheDownloadEndsTheCheckQuietly) {
    ScriptedHttpServer silent([](const HttpRequestSeen&) { return std::optional<std::string>(); });
    auto w = Open(silent);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!silent.requests().empty() && w->isVisible()) {
            w->close();
        }
    });
    poll.start(5);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] { w->IdHTTP1->Disconnect(); });
    guard.start(30000);
    // Returns only once the close has ended the waiting download.
    w->bsSkinSpeedButton1->click();
    EXPECT_TRUE(guard.isActive());
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(rec->messages.empty());
    EXPECT_EQ(w->IdHTTP1->callsInFlight(), 0);
    EXPECT_FALSE(dir.exists("mainappupdate.inf"));
}

TEST_F(UpdateButton, DestroyingTheWindowDuringTheDownloadIsSafe) {
    ScriptedHttpServer silent([](const HttpRequestSeen&) { return std::optional<std::string>(); });
    TfrmMain* w = Open(silent).release();
    QPointer<TfrmMain> alive(w);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!silent.requests().empty() && alive) {
            delete alive.data();
        }
    });
    poll.start(5);
    QTimer::singleShot(0, w->bsSkinSpeedButton1, [w] { w->bsSkinSpeedButton1->click(); });
    EXPECT_TRUE(test::WaitFor([&] { return alive.isNull(); }, 30000));
    // Let the unwound handler finish; nothing may touch the dead window.
    EXPECT_TRUE(test::WaitFor([&] { return silent.openConnections() == 0; }, 30000));
    EXPECT_TRUE(rec->messages.empty());
}

}  // namespace
}  // namespace zolt
