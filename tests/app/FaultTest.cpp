// Faults from outside the program: settings files cut short or with a byte
// flipped, a program folder the user may not write, banner and skin files
// that are not what their names say, and news servers that break off, talk
// nonsense or never answer while the user goes on clicking.

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/TfrmMain.h"
#include "branding/BrandSettings.h"
#include "branding/BrandSettingsText.h"
#include "branding/SettingsKeys.h"
#include "branding/SettingsTag.h"
#include "branding/SettingsText.h"
#include "net/HttpClient.h"
#include "news/NewsNotification.h"
#include "news/ui/TfrmNews.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPictures.h"
#include "tests/support/WaitFor.h"
#include "toolkit/BalloonHint.h"
#include "toolkit/BannerImage.h"
#include "toolkit/GifBanner.h"
#include "toolkit/HtmlView.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Skin.h"
#include "util/SettingsFileCrypt.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace zolt {
namespace {

using test::HttpRequestSeen;
using test::ScriptedHttpServer;

std::string E(const std::string& key, const std::string& value) {
    return SettingsTag{key}.Element(value) + "\r\n";
}

bool AsksFor(const HttpRequestSeen& request, const std::string& conttype) {
    for (const auto& [name, value] : request.formFields()) {
        if (name == "conttype" && value == conttype) {
            return true;
        }
    }
    return false;
}

// Answers as the reference news server does when it holds one news item.
std::optional<std::string> OneNewsItem(const HttpRequestSeen& request) {
    if (request.target.find("getnewsdetails.php") != std::string::npos) {
        return ScriptedHttpServer::Reply(200, "$3Cp$3Eread$20me$3C$2Fp$3E\xAFOK");
    }
    if (AsksFor(request, "lastcode")) {
        return ScriptedHttpServer::Reply(200, "7^Big news\xAFOK");
    }
    return ScriptedHttpServer::Reply(200, "7^Big news^2026-12-08\xAFOK");
}

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(generator() & 0xFF);
    }
    return bytes;
}

std::size_t FaultStride() {
    const char* text = std::getenv("ZOLT_FAULT_STRIDE");
    const int stride = text != nullptr ? std::atoi(text) : 1;
    return stride > 0 ? static_cast<std::size_t>(stride) : 1;
}

class Faults : public ::testing::Test {
  protected:
    void SetUp() override {
        news = std::make_unique<ScriptedHttpServer>(
            [this](const HttpRequestSeen& request) { return newsHandler(request); });
        update = std::make_unique<ScriptedHttpServer>([](const HttpRequestSeen&) {
            return ScriptedHttpServer::Reply(
                200, std::string("[APPLICATION]\r\nVersion=") + AppVersion + "\r\n");
        });
        services = test::MakeRecordingServices(rec);
        config = test::TestConfig(dir.path() + "/");
        config.updateBaseUrl = update->url("");
    }
    void TearDown() override { ApplySkin(BuiltInSkin()); }

    // A Gold brand with its news channel on the scripted news server, a
    // banner and two links.
    std::string SettingsText() const {
        return E("ApplicationName", "Fault Test") + E("BranderCode", "PF") +
               E("BranderType", "Gold") + E("GoldNewsBaseURL", news->url("")) +
               E("GoldPublID", "PUBG") + E("MakeMoneyButton", "Earn") +
               E("Banner1", "top.jpg^http://ad.example/") +
               E("Link1", "Sponsor^http://sponsor.example/") +
               E("Link2", "Partner^http://partner.example/");
    }
    BrandSettingsRecord Brand() const {
        return ParseBrandSettings(RebuildSettingsText(SettingsText())).record;
    }

    std::unique_ptr<TfrmMain> Open() {
        auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }
    // The start-up checks have run to their end once the update site is asked.
    bool StartupChecksRan(std::size_t askedBefore) {
        return test::WaitFor([&] { return update->requests().size() > askedBefore; }, 15000);
    }
    // Reads the one news item in the news window, as the user does: a click
    // on its row fetches the page and stores the item's id.
    void ReadNewsItem() {
        // The window keeps references to the brand and the list, as to its
        // owner's.
        newsBrand = Brand();
        newsLines = {"7^Big news^2026-12-08"};
        const MessageBox msgMain(nullptr, test::RecordingAnswer(rec));
        TfrmNews window(config, services, msgMain, http, NewsChannel(newsBrand), newsLines);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto* list = window.findChild<QTreeWidget*>("lvwItems");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(0)).center());
        EXPECT_EQ(window.findChild<HtmlView*>("prfEditorNews")->htmlSource(), "<p>read me</p>");
    }
    QStringList Files() const {
        return QDir(QString::fromStdString(dir.path()))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    std::function<std::optional<std::string>(const HttpRequestSeen&)> newsHandler = OneNewsItem;
    std::unique_ptr<ScriptedHttpServer> news;
    std::unique_ptr<ScriptedHttpServer> update;
    test::TempDir dir;
    std::shared_ptr<test::Recorder> rec = std::make_shared<test::Recorder>();
    Services services;
    ProgramConfig config;
    HttpClient http;
    BrandSettingsRecord newsBrand;
    NewsLineList newsLines;
};

TEST_F(Faults, SettingsFileCutShortOrWithAByteFlippedIsNeverWritten) {
    dir.write("banner1.dat", test::MakeJpeg(468, 60));
    const std::string intact = EncryptSettingsBytes(SettingsText());
    const BrandSettingsRecord full = Brand();

    // The intact file brands the window and reading the news rewrites it,
    // so the checks below see a write when there is one.
    dir.write("dbsettings.dat", intact);
    {
        auto w = Open();
        EXPECT_EQ(w->windowTitle().toStdString(), std::string("Fault Test v") + AppVersion);
    }
    ReadNewsItem();
    EXPECT_NE(dir.read("dbsettings.dat"), intact);

    struct Variant {
        std::string name;
        std::string bytes;
        bool cut;
    };
    std::vector<Variant> variants;
    for (std::size_t n = 0; n < intact.size(); ++n) {
        variants.push_back({"cut to " + std::to_string(n) + " bytes", intact.substr(0, n), true});
    }
    for (std::size_t i = 0; i < intact.size(); ++i) {
        std::string bytes = intact;
        bytes[i] = static_cast<char>(bytes[i] ^ 0xFF);
        variants.push_back({"byte " + std::to_string(i) + " flipped", bytes, false});
    }
    // Under valgrind (scripts/memcheck) every n-th case is enough.
    const std::size_t stride = FaultStride();
    for (std::size_t k = 0; k < variants.size(); k += stride) {
        const Variant& v = variants[k];
        SCOPED_TRACE(v.name);
        dir.write("dbsettings.dat", v.bytes);
        const std::size_t asked = update->requests().size();
        auto w = Open();
        // A file that does not decrypt cleanly still brands with what could
        // be decrypted, down to nothing at all.
        const BrandSettingsRecord& got = w->brand();
        EXPECT_EQ(w->windowTitle(), ToQString(BrandWindowTitle(got.ApplicationName)));
        if (v.cut) {
            // A shorter file can lose settings but never make one up.
            for (const SettingsKey& key : SettingsKeyTable()) {
                if (key.field != nullptr && !(got.*key.field).empty()) {
                    EXPECT_EQ(got.*key.field, full.*key.field) << key.name;
                }
            }
        }
        // Every tenth start goes on through the start-up checks.
        if ((k / stride) % 10 == 0) {
            EXPECT_TRUE(StartupChecksRan(asked));
        }
        EXPECT_EQ(dir.read("dbsettings.dat"), v.bytes) << "after the start";
        w.reset();
        ReadNewsItem();
        EXPECT_EQ(dir.read("dbsettings.dat"), v.bytes) << "after reading a news item";
        QStringList left = Files();
        left.removeAll("mainappupdate.inf");
        EXPECT_EQ(left, (QStringList{"banner1.dat", "dbsettings.dat"}));
        EXPECT_EQ(rec->messageTexts(), std::vector<std::string>{});
        if (HasFailure()) {
            break;  // the first broken case tells the story
        }
    }
}

// The superuser writes into read-only folders, so as root this test runs in
// a child process as "nobody" (ReadOnlyFolderAsOrdinaryUser below).
#ifndef _WIN32  // POSIX links, permissions and devices
TEST_F(Faults, ReadOnlyProgramFolderStillBrandsAndIsNotWritten) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "runs as an ordinary user from ReadOnlyFolderAsOrdinaryUser";
    }
    dir.write("dbsettings.dat", EncryptSettingsBytes(SettingsText()));
    dir.write("banner1.dat", test::MakeJpeg(468, 60));
    dir.write("mainskin.dat", ZlibCompress("QPushButton { color: #123456; }"));
    const std::string before = dir.read("dbsettings.dat");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    struct Writable {
        std::string path;
        ~Writable() { ::chmod(path.c_str(), 0700); }
    } writableAgain{dir.path()};
    ASSERT_NE(::access(dir.path().c_str(), W_OK), 0) << "the folder is still writable";

    auto w = Open();
    EXPECT_EQ(w->windowTitle().toStdString(), std::string("Fault Test v") + AppVersion);
    EXPECT_TRUE(w->panBanner->isVisible());
    EXPECT_EQ(w->btnMakeMoney->text(), "Earn");
    EXPECT_NE(CurrentSkin().find("#123456"), std::string::npos);
    // The start-up news check finds the unread item and points at it.
    EXPECT_TRUE(test::WaitFor([&] { return w->LMDMessageHint1->isVisible(); }, 15000))
        << news->requests().size() << " news requests";
    // Reading it cannot store its id; the page shows all the same.
    ReadNewsItem();
    EXPECT_EQ(dir.read("dbsettings.dat"), before);
    EXPECT_EQ(Files(), (QStringList{"banner1.dat", "dbsettings.dat", "mainskin.dat"}));
    EXPECT_EQ(rec->messageTexts(), std::vector<std::string>{});
}
#endif

#ifndef _WIN32  // POSIX links, permissions and devices
TEST(ReadOnlyFolderAsOrdinaryUser, RunsTheFolderTestAsNobody) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "an ordinary user runs Faults.ReadOnlyProgramFolder... directly";
    }
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr) {
        GTEST_SKIP() << "there is no user \"nobody\" to run as";
    }
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    const QString program = QCoreApplication::applicationFilePath();
    if (QProcess::execute("/bin/sh", {"-c", QString("exec setpriv --reuid=%1 --regid=%2 "
                                                    "--clear-groups test -x '%3'")
                                                .arg(uid)
                                                .arg(gid)
                                                .arg(program)}) != 0) {
        GTEST_SKIP() << "\"nobody\" cannot run " << program.toStdString()
                     << " (a folder on its path is closed to other users)";
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QDir::tempPath());
    env.remove("XDG_RUNTIME_DIR");
    // The leak check is the parent run's; the child may not read its files.
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    env.remove("LSAN_OPTIONS");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setChildProcessModifier([uid, gid] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
            ::_exit(126);
        }
    });
    child.start(program, {"--gtest_filter=Faults.ReadOnlyProgramFolderStillBrandsAndIsNotWritten"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const std::string output = child.readAll().toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    EXPECT_EQ(output.find("SKIPPED"), std::string::npos) << output;
}
#endif

TEST_F(Faults, BannerFileThatIsNoPictureHidesTheStrip) {
    const std::string jpeg = test::MakeJpeg(468, 60);
    struct Case {
        std::string name;
        std::string picture;               // the image name in the settings
        std::optional<std::string> bytes;  // nothing: a folder of that name
    };
    const std::vector<Case> cases = {
        {"empty", "top.jpg", ""},
        {"text", "top.jpg", "this is not a picture\r\n"},
        {"random bytes", "top.jpg", RandomBytes(4096, 7)},
        {"JPEG header only", "top.jpg", jpeg.substr(0, 20)},
        {"GIF signature and noise", "anim.gif", "GIF89a" + RandomBytes(600, 8)},
        {"JPEG named GIF", "anim.gif", jpeg.substr(0, 40)},
        {"a folder", "top.jpg", std::nullopt},
        {"empty image name", "", jpeg},
        {"name of another format", "top.png", jpeg},
        {"unknown format", "top.xyz", jpeg},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir folder;
        services = test::MakeRecordingServices(rec);
        config = test::TestConfig(folder.path() + "/");
        config.updateBaseUrl = update->url("");
        folder.write("dbsettings.dat",
                     EncryptSettingsBytes(E("ApplicationName", "Fault Test") +
                                          E("Banner1", c.picture + "^http://ad.example/") +
                                          E("Link1", "L^http://l/")));
        if (c.bytes) {
            folder.write("banner1.dat", *c.bytes);
        } else {
            ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder.file("banner1.dat"))));
        }
        auto w = Open();
        EXPECT_EQ(w->windowTitle().toStdString(), std::string("Fault Test v") + AppVersion);
        EXPECT_FALSE(w->panBanner->isVisible());
        EXPECT_FALSE(w->imgBanner->isVisible());
        EXPECT_FALSE(w->gifBanner->isVisible());
        EXPECT_TRUE(w->panLinks->isVisible());
        EXPECT_EQ(rec->messageTexts(), std::vector<std::string>{});
        // Clicking where the banner would be does nothing.
        QTest::mouseClick(w.get(), Qt::LeftButton, {}, QPoint(w->width() / 2, 60));
        EXPECT_TRUE(rec->processes.empty());
    }
}

TEST_F(Faults, SkinFileThatIsNotZlibKeepsTheBuiltInSkin) {
    const std::string sheet = "QPushButton { color: #123456; }";
    const std::string packed = ZlibCompress(sheet);
    struct Case {
        std::string name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"a plain style sheet", sheet},
        {"random bytes", RandomBytes(2048, 9)},
        {"cut short", packed.substr(0, packed.size() / 2)},
        {"checksum broken",
         packed.substr(0, packed.size() - 1) + static_cast<char>(packed.back() ^ 0x55)},
        {"gzip instead of zlib", std::string("\x1f\x8b\x08\x00", 4) + RandomBytes(64, 10)},
        {"inflates past the limit", ZlibCompress(std::string(65 * 1024 * 1024, ' '))},
        {"blanks only", ZlibCompress(" \r\n\t ")},
        {"a sheet that Qt cannot parse", ZlibCompress("QLabel { color: red;\nQLabel { }")},
        {"the name of a file", ZlibCompress("file:///etc/hostname")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ApplySkin(BuiltInSkin());
        dir.write("dbsettings.dat", EncryptSettingsBytes(E("ApplicationName", "Fault Test")));
        dir.write("mainskin.dat", c.bytes);
        auto w = Open();
        EXPECT_EQ(w->windowTitle().toStdString(), std::string("Fault Test v") + AppVersion);
        EXPECT_EQ(CurrentSkin(), BuiltInSkin());
        EXPECT_EQ(rec->messageTexts(), std::vector<std::string>{});
        EXPECT_EQ(dir.read("mainskin.dat"), c.bytes);
    }
    // The same folder with a sound skin takes it, so the cases above did
    // reach the skin reader.
    dir.write("mainskin.dat", packed);
    auto w = Open();
    EXPECT_EQ(CurrentSkin(), sheet);
}

TEST_F(Faults, ShowingTheWindowNeverRunsTheStartupCheckInside) {
    dir.write("dbsettings.dat", EncryptSettingsBytes(SettingsText()));
    auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));
    // Due at once, as on a machine slow to build the window: the check must
    // still wait for the event loop instead of running inside the show, where
    // a silent news server would hold the show itself.
    w->Timer1->start(0);
    w->show();
    EXPECT_TRUE(news->requests().empty());
    EXPECT_TRUE(test::WaitFor([&] { return !news->requests().empty(); }));
}

// The news server misbehaves at the start-up check and at every press of
// the news button, while the user goes on switching pages and pressing the
// button again. Nothing may hang beyond closing the window, and nothing may
// show after it.
TEST_F(Faults, NewsServerThatBreaksOffTalksNonsenseOrNeverAnswers) {
    struct Case {
        std::string name;
        std::optional<std::string> reply;  // nothing: never answers
    };
    const std::vector<Case> cases = {
        {"breaks off mid-reply",
         std::string("HTTP/1.1 200 OK\r\nContent-Length: 500\r\nConnection: close\r\n\r\n7^Big")},
        {"closes without a word", std::string()},
        {"garbage with status 200", ScriptedHttpServer::Reply(200, RandomBytes(4096, 11))},
        {"garbage instead of HTTP", RandomBytes(1024, 12) + "\r\n\r\n"},
        {"an error page", ScriptedHttpServer::Reply(500, "<html>OK? no</html>")},
        {"never answers", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rec->messages.clear();
        newsHandler = [&c](const HttpRequestSeen&) { return c.reply; };
        news = std::make_unique<ScriptedHttpServer>(
            [this](const HttpRequestSeen& request) { return newsHandler(request); });
        dir.write("dbsettings.dat", EncryptSettingsBytes(SettingsText()));
        const std::string settings = dir.read("dbsettings.dat");
        // The user's clicks start with the window: on a slow machine the
        // start-up check may already wait while the window is being shown.
        auto w = std::make_unique<TfrmMain>(config, services, test::RecordingAnswer(rec));

        // The user's clicks: page switches all along, and three presses of
        // the news button, each made while the earlier ones may still wait.
        int ticks = 0;
        int presses = 0;
        int depth = 0;
        int switchesSeen = 0;
        bool closed = false;
        std::size_t messagesAtFirstPress = 0;
        // A timer is not delivered again while its own handler runs, so each
        // tick sets up the next one before it may block in a press.
        QObject ticker;
        std::function<void()> tick = [&] {
            if (closed) {
                return;
            }
            QTimer::singleShot(10, &ticker, tick);
            ++ticks;
            const bool advanced = ticks % 2 == 1;
            QTest::mouseClick(advanced ? w->btnAdvanced : w->btnSimple, Qt::LeftButton);
            switchesSeen += w->ntbMain->currentIndex() == (advanced ? 1 : 0) ? 1 : 0;
            if (news->requests().empty() || presses == 3 || ticks % 5 != 0) {
                if (presses == 3 && !closed && (!c.reply || depth == 0) && ticks > 40) {
                    closed = true;
                    w->close();
                }
                return;
            }
            if (presses == 0) {
                messagesAtFirstPress = rec->messages.size();
            }
            ++presses;
            ++depth;
            w->btnNews->click();
            --depth;
        };
        QTimer::singleShot(10, &ticker, tick);
        w->show();
        ASSERT_TRUE(test::WaitFor([&] { return closed && depth == 0; }, 60000))
            << "presses " << presses << ", depth " << depth;

        // The start-up check stays silent about a failing server.
        EXPECT_EQ(messagesAtFirstPress, 0u);
        // The pages switched at every click, also while requests waited.
        EXPECT_EQ(switchesSeen, ticks);
        EXPECT_GE(news->requests().size(), 4u);
        const std::vector<std::string> texts = rec->messageTexts();
        if (c.reply) {
            // Each press ends in the no-news box, after at most one warning.
            EXPECT_EQ(std::count(texts.begin(), texts.end(), kNoNewsMessage), 3) << texts.size();
            EXPECT_LE(texts.size(), 6u);
        } else {
            // The window closed while all three waited: no box after it.
            EXPECT_EQ(texts, std::vector<std::string>{});
        }
        EXPECT_FALSE(w->isVisible());
        w.reset();
        EXPECT_EQ(dir.read("dbsettings.dat"), settings);
        if (HasFailure()) {
            break;
        }
    }
}

}  // namespace
}  // namespace zolt
