#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

#include <unistd.h>

#include <clocale>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "branding/AppVersion.h"
#include "net/HttpClient.h"
#include "news/UpdateCheck.h"
#include "tests/support/PhpServer.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempDir.h"

namespace zolt {
namespace {

using test::HttpRequestSeen;
using test::Recorder;
using test::ScriptedHttpServer;
using test::TempDir;

const char* kInfoPath = "/liveupdate/rssfeed_zolt/mainappupdate.inf";
// Any 32 bytes: the check only asks whether the copy has a key.
const char* kSomeKey = "a2V5a2V5a2V5a2V5a2V5a2V5a2V5a2V5a2V5a2V5a2U=";
// Stands for the site's address, which each row's server decides.
const std::string kSite = "{site}";

TEST(UpdateVersion, ReadsPlainDecimalsWithAPointOnly) {
    // A locale with a decimal comma must change nothing.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German));
    struct Row {
        std::string text;
        float value;
    } rows[] = {{"2.01", 2.01f}, {"3", 3.0f},   {"2.1", 2.1f}, {"10.5", 10.5f}, {"-1", -1.0f},
                {"+2.5", 2.5f},  {"", 0.0f},    {"abc", 0.0f}, {"2,02", 0.0f},  {"2.02x", 0.0f},
                {"1e3", 0.0f},   {"inf", 0.0f}, {"nan", 0.0f}, {"2..1", 0.0f},  {".", 0.0f},
                {"2.0.1", 0.0f}, {" 2", 0.0f},  {"0x10", 0.0f}};
    for (const Row& row : rows) {
        EXPECT_EQ(VersionNumber(row.text), row.value) << row.text;
    }
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

TEST(UpdateVersion, OnlyAStrictlyGreaterNumberIsNewer) {
    struct Row {
        std::string text;
        bool newer;
    } rows[] = {{"2.01", false},  {"2.02", true},  {"2.1", true}, {"3", true},    {"2.001", false},
                {"2.010", false}, {"1.99", false}, {"", false},   {"two", false}, {"10", true}};
    for (const Row& row : rows) {
        EXPECT_EQ(IsNewerVersion(row.text), row.newer) << row.text;
    }
}

// The live-update site on 127.0.0.1 and a program folder with or without
// the updater.
struct Site {
    explicit Site(std::optional<std::string> info)
        : server([info, this](const HttpRequestSeen& r) {
              if (!info || r.target != kInfoPath) {
                  return ScriptedHttpServer::Reply(404, "Not here");
              }
              return ScriptedHttpServer::Reply(200, *info);
          }) {
        config.updateBaseUrl = server.url("liveupdate/rssfeed_zolt/");
        config.updatePublicKey = kSomeKey;
    }
    std::string updater() const { return dir.file(kUpdaterProgram); }
    std::string info() const { return dir.file("mainappupdate.inf"); }

    TempDir dir;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    ProgramConfig config = test::TestConfig(dir.path());
    Services services = test::MakeRecordingServices(recorder);
    MessageAnswer ask = test::RecordingAnswer(recorder);
    HttpClient http;
    ScriptedHttpServer server;
};

std::string Info(const std::string& version) {
    return "[APPLICATION]\r\nName=RSS Feed Zolt\r\nVersion=" + version + "\r\n";
}

BrandSettingsRecord BrandWithUpdate(const std::string& url, const std::string& key) {
    BrandSettingsRecord brand;
    brand.UpdateBaseURL = url;
    brand.UpdatePublicKey = key;
    return brand;
}

TEST(CheckForUpdate, AsksStartsTheUpdaterAndClosesOrStaysAsAnswered) {
    using R = UpdateCheckResult;
    using K = MessageKind;
    const std::string noUpdate = kNoUpdateMessage;
    const std::string close = kUpdateCloseQuestion;
    struct Row {
        std::string name;
        std::optional<std::string> info;  // none: the site answers 404
        bool silent;
        bool updater;
        std::deque<bool> answers;
        std::vector<std::pair<K, std::string>> messages;
        R result;
        BrandSettingsRecord brand = {};
        std::string makerKey = kSomeKey;
    } rows[] = {
        {"same version",
         Info(AppVersion),
         false,
         true,
         {},
         {{K::Information, noUpdate}},
         R::NoUpdate},
        {"same version, silent", Info(AppVersion), true, true, {}, {}, R::NoUpdate},
        {"older by digits",
         Info("2.001"),
         false,
         true,
         {},
         {{K::Information, noUpdate}},
         R::NoUpdate},
        {"no version",
         "[APPLICATION]\r\nName=x\r\n",
         false,
         true,
         {},
         {{K::Information, noUpdate}},
         R::NoUpdate},
        {"not a number", Info("two"), false, true, {}, {{K::Information, noUpdate}}, R::NoUpdate},
        {"no file",
         std::nullopt,
         false,
         true,
         {},
         {{K::Information, CouldNotCheckMessage("the update site " + kSite +
                                                " did not answer (HTTP status 404 Not Found)")}},
         R::NoUpdate},
        {"no file, silent", std::nullopt, true, true, {}, {}, R::NoUpdate},
        {"newer, both OK",
         Info("2.02"),
         false,
         true,
         {true, true},
         {{K::Question, NewUpdateQuestion("2.02")}, {K::Question, close}},
         R::CloseForUpdate},
        {"newer, silent, both OK",
         Info("3"),
         true,
         true,
         {true, true},
         {{K::Question, NewUpdateQuestion("3")}, {K::Question, close}},
         R::CloseForUpdate},
        {"text as written",
         "[application]\nVERSION = 2.10\n",
         false,
         true,
         {false},
         {{K::Question, NewUpdateQuestion("2.10")}},
         R::Declined},
        {"cancel the offer",
         Info("2.1"),
         false,
         true,
         {false},
         {{K::Question, NewUpdateQuestion("2.1")}},
         R::Declined},
        {"cancel the close",
         Info("2.1"),
         true,
         true,
         {true, false},
         {{K::Question, NewUpdateQuestion("2.1")}, {K::Question, close}},
         R::Declined},
        {"updater missing",
         Info("2.02"),
         false,
         false,
         {true},
         {{K::Question, NewUpdateQuestion("2.02")}, {K::Warning, kUpdaterMissingMessage}},
         R::UpdaterMissing},
        {"no key in the brand nor the program",
         Info("2.02"),
         false,
         true,
         {true},
         {{K::Question, NewUpdateQuestion("2.02")},
          {K::Information, NoUpdateKeyMessage("2.02", kSite)}},
         R::NoUpdateKey,
         {},
         ""},
        {"a brand's key of the wrong size",
         Info("2.02"),
         true,
         true,
         {},
         {},
         R::NoUpdate,
         BrandWithUpdate("", "a2V5")},
        {"a brand's site that is no folder",
         Info("2.02"),
         false,
         true,
         {},
         {{K::Information,
           CouldNotCheckMessage("the settings file's UpdateBaseURL \"ftp://x/\" is not an "
                                "http or https address of a folder")}},
         R::NoUpdate,
         BrandWithUpdate("ftp://x/", "")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Site site(row.info);
        if (row.updater) {
            site.dir.write(kUpdaterProgram, "#!/bin/sh\n");
        }
        site.recorder->answers = row.answers;
        site.config.updatePublicKey = row.makerKey;
        EXPECT_EQ(
            CheckForUpdate(site.config, site.services, site.ask, site.http, row.brand, row.silent),
            row.result);

        std::vector<std::pair<K, std::string>> seen;
        for (const auto& m : site.recorder->messages) {
            seen.emplace_back(m.kind, m.text);
        }
        auto expected = row.messages;
        for (auto& [kind, text] : expected) {
            if (const size_t at = text.find(kSite); at != std::string::npos) {
                text.replace(at, kSite.size(), site.config.updateBaseUrl);
            }
        }
        EXPECT_EQ(seen, expected);
        if (row.result == R::CloseForUpdate) {
            ASSERT_EQ(site.recorder->processes.size(), 1u);
            EXPECT_EQ(site.recorder->processes[0].program, site.updater());
            EXPECT_EQ(site.recorder->processes[0].args,
                      (std::vector<std::string>{site.config.updateBaseUrl, AppVersion, "A"}));
        } else {
            EXPECT_TRUE(site.recorder->processes.empty());
        }
        // The downloaded copy stays; a failed download leaves none.
        if (!row.brand.UpdateBaseURL.empty() || !row.brand.UpdatePublicKey.empty()) {
            continue;
        }
        EXPECT_EQ(site.dir.exists("mainappupdate.inf"), row.info.has_value());
        if (row.info) {
            EXPECT_EQ(site.dir.read("mainappupdate.inf"), *row.info);
        }
        ASSERT_FALSE(site.server.requests().empty());
        EXPECT_EQ(site.server.requests()[0].method, "GET");
        EXPECT_EQ(site.server.requests()[0].target, kInfoPath);
    }
}

TEST(CheckForUpdate, APackageInstallLeavesANewerVersionToThePackageManager) {
    for (const bool silent : {true, false}) {
        Site site(Info("2.02"));
        site.config.packageInstall = true;
        site.dir.write(kUpdaterProgram, "#!/bin/sh\n");
        EXPECT_EQ(CheckForUpdate(site.config, site.services, site.ask, site.http, {}, silent),
                  UpdateCheckResult::PackageManaged);
        EXPECT_EQ(site.recorder->messageTexts(),
                  std::vector<std::string>{PackageUpdateMessage("2.02")});
        EXPECT_EQ(site.recorder->messages[0].kind, MessageKind::Information);
        EXPECT_TRUE(site.recorder->processes.empty());
        // The package manager's folder gets no copy of the description.
        EXPECT_FALSE(site.dir.exists("mainappupdate.inf"));
    }
}

TEST(CheckForUpdate, AnUpdaterThatWillNotStartStillClosesTheWindow) {
    Site site(Info("2.5"));
    site.dir.write(kUpdaterProgram, "");
    site.recorder->startSucceeds = false;
    EXPECT_EQ(CheckForUpdate(site.config, site.services, site.ask, site.http, {}, true),
              UpdateCheckResult::CloseForUpdate);
    EXPECT_EQ(site.recorder->processes.size(), 1u);
}

TEST(CheckForUpdate, AFolderNamedUpdaterIsNoUpdater) {
    Site site(Info("2.5"));
    ASSERT_TRUE(QDir(QString::fromStdString(site.dir.path())).mkdir(kUpdaterProgram));
    EXPECT_EQ(CheckForUpdate(site.config, site.services, site.ask, site.http, {}, true),
              UpdateCheckResult::UpdaterMissing);
    EXPECT_TRUE(site.recorder->processes.empty());
}

TEST(DownloadUpdateInfo, FailuresLeaveNoFileEvenWhereAnOldCopyWas) {
    const std::string big(kMaxUpdateFileSize + 1, ';');
    struct Row {
        std::string name;
        std::optional<std::string> reply;  // none: refused
    } rows[] = {
        {"404", ScriptedHttpServer::Reply(404, "missing")},
        {"500", ScriptedHttpServer::Reply(500, "broken")},
        {"cut midway",
         "HTTP/1.1 200 OK\r\nContent-Length: 500\r\nConnection: close\r\n\r\n[APPLICATION]"},
        {"too large", ScriptedHttpServer::Reply(200, big)},
        {"refused", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        dir.write("mainappupdate.inf", Info("9"));
        ScriptedHttpServer server([&](const HttpRequestSeen&) { return row.reply; });
        const std::string url =
            row.reply ? server.url("mainappupdate.inf")
                      : "http://127.0.0.1:" + std::to_string(ScriptedHttpServer::ClosedPort()) +
                            "/mainappupdate.inf";
        HttpClient http;
        const auto info = DownloadUpdateInfo(http, url, dir.file("mainappupdate.inf"));
        EXPECT_TRUE(info.ok() && !info->text.has_value() && !info->failure.empty());
        EXPECT_FALSE(dir.exists("mainappupdate.inf"));
    }
}

#ifndef _WIN32  // POSIX links, permissions and devices
TEST(DownloadUpdateInfo, KeepsTheWholeBodyWithoutWritingThroughALink) {
    const std::string body(kMaxUpdateFileSize, 'v');
    ScriptedHttpServer server(
        [&](const HttpRequestSeen&) { return ScriptedHttpServer::Reply(200, body); });
    TempDir dir;
    const std::string path = dir.file("mainappupdate.inf");
    ASSERT_EQ(::symlink(dir.file("planted-target").c_str(), path.c_str()), 0);
    HttpClient http;
    EXPECT_EQ(DownloadUpdateInfo(http, server.url("x"), path).value().text, body);
    EXPECT_EQ(dir.read("mainappupdate.inf"), body);
    EXPECT_FALSE(QFileInfo(QString::fromStdString(path)).isSymLink());
    EXPECT_FALSE(dir.exists("planted-target"));
}
#endif

TEST(CheckForUpdate, AFolderThatTakesNoCopyStillOffersTheUpdate) {
    Site site(Info("2.5"));
    ASSERT_TRUE(QDir(QString::fromStdString(site.dir.path())).mkpath("mainappupdate.inf/x"));
    site.recorder->answers = {false};
    EXPECT_EQ(CheckForUpdate(site.config, site.services, site.ask, site.http, {}, true),
              UpdateCheckResult::Declined);
    EXPECT_EQ(site.recorder->messageTexts(), std::vector<std::string>{NewUpdateQuestion("2.5")});
}

TEST(CheckForUpdate, ADownloadCutShortByClosingShowsNothing) {
    Site site(std::nullopt);
    ScriptedHttpServer silent([](const HttpRequestSeen&) { return std::optional<std::string>(); });
    site.config.updateBaseUrl = silent.url("liveupdate/rssfeed_zolt/");
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!silent.requests().empty()) {
            site.http.Disconnect();
        }
    });
    poll.start(5);
    EXPECT_EQ(CheckForUpdate(site.config, site.services, site.ask, site.http, {}, false),
              UpdateCheckResult::Aborted);
    EXPECT_TRUE(site.recorder->messages.empty());
    EXPECT_FALSE(site.dir.exists("mainappupdate.inf"));
}

TEST(CheckForUpdate, WorksAgainstAPlainWebServer) {
    if (test::PhpBinary().empty()) {
        GTEST_SKIP() << "php is not installed";
    }
    TempDir root;
    ASSERT_TRUE(QDir(QString::fromStdString(root.path())).mkpath("liveupdate/rssfeed_zolt"));
    root.write("liveupdate/rssfeed_zolt/mainappupdate.inf", Info("2.02"));
    test::PhpServer web(root.path());
    TempDir program;
    program.write(kUpdaterProgram, "");
    auto recorder = std::make_shared<Recorder>();
    ProgramConfig config = test::TestConfig(program.path());
    config.updateBaseUrl = web.url("liveupdate/rssfeed_zolt/");
    config.updatePublicKey = kSomeKey;
    const Services services = test::MakeRecordingServices(recorder);
    HttpClient http;
    EXPECT_EQ(CheckForUpdate(config, services, test::RecordingAnswer(recorder), http, {}, true),
              UpdateCheckResult::CloseForUpdate);
    ASSERT_EQ(recorder->processes.size(), 1u);
    EXPECT_EQ(recorder->processes[0].args,
              (std::vector<std::string>{config.updateBaseUrl, AppVersion, "A"}));
}

}  // namespace
}  // namespace zolt
