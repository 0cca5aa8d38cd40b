#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "net/HttpClient.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/WaitFor.h"

namespace zolt {
namespace {

using test::HttpRequestSeen;
using test::ScriptedHttpServer;

// A window that owns the client and disconnects it when it closes, as the
// main window does.
class ClientWindow : public QWidget {
  public:
    ClientWindow() : http(new HttpClient(this)), button(new QPushButton("other", this)) {}
    HttpClient* http;
    QPushButton* button;
    int closes = 0;

  protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        http->Disconnect();
        QWidget::closeEvent(event);
    }
};

ScriptedHttpServer::Handler Silent() {
    return [](const HttpRequestSeen&) { return std::optional<std::string>(); };
}

// Calls `step` from the event loop every few milliseconds until it returns
// true; how a test acts while a blocking call waits.
class Poller {
  public:
    explicit Poller(std::function<bool()> step) : step_(std::move(step)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (step_()) {
                timer_.stop();
            }
        });
        timer_.start(5);
    }

  private:
    std::function<bool()> step_;
    QTimer timer_;
};

TEST(HttpClientWait, WindowStaysUsableAndClosingItEndsTheWait) {
    ScriptedHttpServer server(Silent());
    ClientWindow window;
    int clicks = 0;
    QObject::connect(window.button, &QPushButton::clicked, [&] { ++clicks; });
    window.show();

    Poller poller([&] {
        if (server.requests().size() == 1 && clicks == 0) {
            QTest::mouseClick(window.button, Qt::LeftButton);
        } else if (clicks == 1) {
            window.close();
            return true;
        }
        return false;
    });
    // Only a failing test gets here: never hang the run.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] { window.http->Disconnect(); });
    guard.start(30000);

    const Result<std::string> posted =
        window.http->PostForm(server.url("getlastnews.php"), {{"a", "b"}});
    EXPECT_TRUE(!posted.ok() && posted.quiet());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(window.closes, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.http->callsInFlight(), 0);
    // The connection the server held open is gone.
    EXPECT_TRUE(test::WaitFor([&] { return server.openConnections() == 0; }));
}

TEST(HttpClientWait, QuittingTheApplicationEndsAWaitingCall) {
    ScriptedHttpServer server(Silent());
    HttpClient http;
    std::optional<bool> aborted;
    QTimer::singleShot(0, [&] { aborted = http.PostForm(server.url("x.php"), {}).quiet(); });
    Poller poller([&] {
        if (server.requests().size() == 1) {
            QCoreApplication::quit();
            return true;
        }
        return false;
    });
    QTimer::singleShot(30000, [&] { http.Disconnect(); });
    QCoreApplication::exec();
    ASSERT_TRUE(aborted.has_value());
    EXPECT_TRUE(*aborted);
}

TEST(HttpClientWait, DestroyingTheWindowDuringItsOwnCallIsSafe) {
    // A handler of the window waits in PostForm when the window dies: the
    // call must come back without touching the dead client, and the
    // handler, guarded, must not touch the dead window.
    ScriptedHttpServer server(Silent());
    auto* window = new ClientWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<ClientWindow> guard(window);
    std::optional<bool> aborted;
    bool touchedAfter = false;
    QObject::connect(window->button, &QPushButton::clicked, window,
                     [window, &aborted, &touchedAfter, &server] {
                         QPointer<ClientWindow> self(window);
                         aborted = window->http->PostForm(server.url("x.php"), {}).quiet();
                         if (self) {
                             touchedAfter = true;
                             self->setWindowTitle("done");
                         }
                     });
    window->show();
    QTimer::singleShot(0, window->button, [window] { window->button->click(); });
    Poller poller([&] {
        if (server.requests().size() == 1 && guard) {
            delete guard.data();
            return true;
        }
        return false;
    });
    EXPECT_TRUE(test::WaitFor([&] { return aborted.has_value(); }, 30000));
    EXPECT_TRUE(aborted.value_or(false));
    EXPECT_FALSE(touchedAfter);
    EXPECT_TRUE(guard.isNull());
}

TEST(HttpClientWait, DisconnectAbortsEveryNestedCall) {
    // A second request started while the first waits (a button pressed
    // meanwhile) nests inside it; Disconnect ends both.
    ScriptedHttpServer server(Silent());
    HttpClient http;
    std::optional<bool> innerAborted;
    std::optional<bool> outerAborted;
    bool innerStarted = false;
    Poller poller([&] {
        if (server.requests().size() == 1 && !innerStarted) {
            innerStarted = true;
            innerAborted = http.PostForm(server.url("inner"), {}).quiet();
        }
        return innerAborted.has_value();
    });
    Poller disconnecter([&] {
        if (server.requests().size() == 2) {
            EXPECT_EQ(http.callsInFlight(), 2);
            http.Disconnect();
            return true;
        }
        return false;
    });
    QTimer::singleShot(30000, [&] { http.Disconnect(); });
    outerAborted = http.PostForm(server.url("outer"), {}).quiet();
    EXPECT_TRUE(innerAborted.value_or(false));
    EXPECT_TRUE(outerAborted.value_or(false));
    EXPECT_EQ(http.callsInFlight(), 0);
}

TEST(HttpClientWait, ASilentServerFailsTheCallOnceTheStallTimeoutPasses) {
    ScriptedHttpServer server(Silent());
    HttpClient http;
    http.setStallTimeout(200);
    for (const bool post : {true, false}) {
        const Result<std::string> reply = post ? http.PostForm(server.url("news"), {{"a", "b"}})
                                               : http.Download(server.url("inf"));
        // A failure as from an unreachable server, not a cancel of ours.
        EXPECT_FALSE(reply.ok() || reply.quiet()) << post;
    }
    EXPECT_EQ(http.callsInFlight(), 0);
}

}  // namespace
}  // namespace zolt
