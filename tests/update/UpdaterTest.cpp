#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "crypto/Ed25519.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/ScriptedHttpServer.h"
#include "tests/support/TempDir.h"
#include "update/FileSwap.h"
#include "update/PackageArchive.h"
#include "update/PackageCheck.h"
#include "update/ui/UpdaterWindow.h"
#include "util/Encoding.h"

namespace zolt {
namespace {

namespace fs = std::filesystem;
using test::HttpRequestSeen;
using test::ScriptedHttpServer;
using test::TempDir;
using Files = std::map<std::string, std::string>;

void MakePackage(const std::string& out, const std::vector<std::string>& entries) {
    QStringList args{QString::fromStdString(test::SourceDir() + "/tests/update/make_package.py"),
                     QString::fromStdString(out)};
    for (const std::string& e : entries) {
        args << QString::fromStdString(e);
    }
    QProcess python;
    python.start("python3", args);
    ASSERT_TRUE(python.waitForFinished(60000)) << out;
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
}

// Every file below `root` with its bytes (links as "-> target").
Files Snapshot(const std::string& root) {
    Files files;
    QDirIterator it(QString::fromStdString(root), QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const std::string name = info.filePath().mid(static_cast<int>(root.size())).toStdString();
        files[name] = info.isSymLink() ? "-> " + info.symLinkTarget().toStdString()
                                       : test::ReadFileBytes(info.filePath().toStdString());
    }
    return files;
}

std::string Raw(const auto& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(PackageEntries, OnlyPlainFilesAndFoldersThatStayInside) {
    struct Row {
        std::vector<std::string> entries;
        std::string refusal;  // empty: read
    } rows[] = {
        {{"top/", "top/bin/a=1", "top/b.dll=2"}, ""},
        {{"top/../evil=x"}, "leaves the program's folder"},
        {{"/etc/evil=x"}, "absolute path"},
        {{"top/a->/etc/passwd"}, "is a link"},
        {{"top/dev#chr"}, "is a device"},
        {{"top/pipe#fifo"}, "pipe"},
        {{"top\\evil=x"}, "only Windows reads"},
        {{"top/c:evil=x"}, "only Windows reads"},
        {{"top/NUL.txt=x"}, "named like a device"},
        {{"top/dot.=x"}, "drops"},
        {{"top/A=1", "top/a=2"}, "appears twice"},
        {{"top/x=1", "top/x/y=2"}, "below a name that is a file"},
    };
    for (const char* suffix : {".zip", ".tar.gz"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(suffix) + " " + row.entries.back());
            TempDir dir;
            const std::string path = dir.file(std::string("p") + suffix);
            MakePackage(path, row.entries);
            size_t files = 0;
            const Status read =
                ReadPackage(path, *PackageFormatOf(path), [&](const PackageEntry& e) {
                    files += e.directory ? 0 : 1;
                    return Result<EntrySink>(EntrySink());
                });
            EXPECT_EQ(read.error().find(row.refusal) != std::string::npos, true) << read.error();
            EXPECT_EQ(read.ok(), row.refusal.empty());
            if (row.refusal.empty()) {
                EXPECT_EQ(files, 2u);
            }
        }
    }
}

// A portable Linux folder with its brand files, and an update site on
// 127.0.0.1 that offers a package of version 2.02 signed with `key`.
struct UpdateRound {
    UpdateRound() {
        EXPECT_TRUE(MakeEd25519KeyPair(key));
        EXPECT_TRUE(MakeEd25519KeyPair(otherKey));
        makerKey = EncodeBase64(Raw(key.publicKey));
        QDir().mkpath(QString::fromStdString(folder.file("bin")));
        // The updater's downloads and the program's lock stay in the test's
        // own folders.
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(home.file("cache")));
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(home.path()));
        folder.write("bin/rssfeedzolt", "old program");
        folder.write("bin/Updater", "old updater");
        folder.write("bin/mainskin.dat", "the brand's skin");
        folder.write("bin/banner1.dat", "the brand's banner");
        folder.write("bin/mainappupdate.inf", "the last description");
    }

    // Builds the package from `entries` (below "rssfeedzolt-2.02-Linux/"
    // unless they name their own top), signs it and describes it.
    void Offer(std::vector<std::string> entries,
               const std::string& top = "rssfeedzolt-2.02-Linux") {
        for (std::string& e : entries) {
            e = e[0] == '/' || e.rfind("rssfeedzolt-", 0) == 0 ? e : top + "/" + e;
        }
        MakePackage(site.file("p.tar.gz"), entries);
        description = *SignPackageFile(site.file("p.tar.gz"), "p.tar.gz", Raw(key.secretKey));
    }

    UpdateOutcome Run(const std::shared_ptr<test::Recorder>& recorder) {
        const std::string info = "[APPLICATION]\r\nVersion=" + version + "\r\n" +
                                 PackageDescriptionLines("LINUX64", description);
        const std::string package = site.read("p.tar.gz");
        ScriptedHttpServer server([&](const HttpRequestSeen& r) {
            if (r.target == "/site/mainappupdate.inf") {
                return ScriptedHttpServer::Reply(200, info);
            }
            return r.target == "/site/p.tar.gz" ? ScriptedHttpServer::Reply(200, package)
                                                : ScriptedHttpServer::Reply(404, "");
        });
        UpdaterArguments arguments{server.url("site/"), "2.01", folder.path() + "/bin/"};
        UpdaterWindow window(arguments, makerKey, test::MakeRecordingServices(recorder));
        window.Start();
        return window.outcome();
    }

    TempDir home;
    TempDir folder;
    TempDir site;
    Ed25519KeyPair key;
    Ed25519KeyPair otherKey;
    PackageDescription description;
    std::string version = "2.02";
    std::string makerKey;
};

const std::vector<std::string> kNewVersion = {
    "bin/rssfeedzolt=new program", "bin/Updater=new updater", "bin/added.dll=added",
    "bin/mainskin.dat=the maker's skin", "bin/banner7.dat=a maker's banner"};

TEST(UpdateRound, InstallsTheProgramsFilesKeepsTheBrandsAndStartsTheProgram) {
    UpdateRound round;
    round.Offer(kNewVersion);
    Files expected = Snapshot(round.folder.path());
    expected["/bin/rssfeedzolt"] = "new program";
    expected["/bin/Updater"] = "new updater";
    expected["/bin/added.dll"] = "added";
    auto recorder = std::make_shared<test::Recorder>();
    const UpdateOutcome outcome = round.Run(recorder);
    EXPECT_EQ(outcome.kind, UpdateOutcome::Kind::Installed) << outcome.sentence;
    EXPECT_EQ(Snapshot(round.folder.path()), expected);
    ASSERT_EQ(recorder->processes.size(), 1u);
    EXPECT_EQ(recorder->processes[0].program, round.folder.path() + "/bin/rssfeedzolt");
}

TEST(UpdateRound, RefusesABadPackageAndChangesNothing) {
    struct Row {
        std::string name;
        std::function<void(UpdateRound&)> spoil;
        std::string refusal;
    } rows[] = {
        {"signed by another key",
         [](UpdateRound& r) {
             r.description.signature =
                 SignPackageFile(r.site.file("p.tar.gz"), "p.tar.gz", Raw(r.otherKey.secretKey))
                     ->signature;
         },
         "not signed with this copy's update key"},
        {"a byte changed after signing",
         [](UpdateRound& r) {
             std::string bytes = r.site.read("p.tar.gz");
             bytes[bytes.size() / 2] ^= 1;
             r.site.write("p.tar.gz", bytes);
         },
         "SHA-256"},
        {"larger than announced", [](UpdateRound& r) { r.description.size -= 1; }, "larger than"},
        {"smaller than announced", [](UpdateRound& r) { r.description.size += 1; },
         "bytes, not the"},
        {"over any package's size",
         [](UpdateRound& r) { r.description.size = kMaxPackageSize + 1; },
         "more than an update package may be"},
        {"an older version", [](UpdateRound& r) { r.version = "2.00"; }, "not newer"},
        {"another version in the package",
         [](UpdateRound& r) { r.Offer(kNewVersion, "rssfeedzolt-2.03-Linux"); },
         "holds version 2.03"},
        {"an entry leaving the folder",
         [](UpdateRound& r) {
             r.Offer({"bin/rssfeedzolt=x", "bin/../../evil=x"});
         },
         "leaves the program's folder"},
        {"an absolute entry",
         [](UpdateRound& r) {
             r.Offer({"bin/rssfeedzolt=x", "/tmp/evil=x"});
         },
         "absolute path"},
        {"a link in the package",
         [](UpdateRound& r) {
             r.Offer({"bin/rssfeedzolt=x", "bin/lib.so->/etc/passwd"});
         },
         "is a link"},
        {"a link in the folder",
         [](UpdateRound& r) {
             ASSERT_EQ(::symlink("/nonexistent", r.folder.file("bin/added.dll").c_str()), 0);
         },
         "never writes through a link"},
        {"no key", [](UpdateRound& r) { r.makerKey = ""; }, "holds no key"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        UpdateRound round;
        round.Offer(kNewVersion);
        row.spoil(round);
        const Files before = Snapshot(round.folder.path());
        const UpdateOutcome outcome = round.Run(std::make_shared<test::Recorder>());
        EXPECT_EQ(outcome.kind, UpdateOutcome::Kind::Refused);
        EXPECT_NE(outcome.sentence.find(row.refusal), std::string::npos) << outcome.sentence;
        EXPECT_EQ(Snapshot(round.folder.path()), before);
    }
}

// Old files a, b, c; the new version replaces a and c and adds d, the
// program c last.
struct StagedSwap {
    StagedSwap() {
        for (const char* name : {"a", "b", "c"}) {
            folder.write(name, std::string("old ") + name);
        }
        const fs::path staging = *PrepareStaging(folder.path());
        for (const char* name : {"a", "d", "c"}) {
            test::WriteFileBytes((staging / name).string(), std::string("new ") + name);
        }
        old = Snapshot(folder.path());
        old.erase(old.begin(), old.lower_bound("/a"));  // the staging folder is no version
    }
    Files Version() const {
        EXPECT_FALSE(folder.exists(kUpdateWorkFolder));
        return Snapshot(folder.path());
    }
    // Real operations, but the rename of `stopAt` (counted from 1) fails.
    SwapFileOps FailingAt(int stopAt, std::function<Status()> fail) {
        SwapFileOps ops = RealSwapFileOps();
        ops.rename = [real = ops.rename, stopAt, fail, n = std::make_shared<int>(0)](
                         const fs::path& from, const fs::path& to) {
            return ++*n == stopAt ? fail() : real(from, to);
        };
        return ops;
    }

    TempDir folder;
    Files old;
    const std::vector<SwapFile> files = {{"a", true}, {"d", false}, {"c", true}};
};

TEST(FileSwap, EveryStopLeavesOneWholeVersion) {
    {
        SCOPED_TRACE("a file that cannot be replaced");
        StagedSwap swap;
        const Status swapped = SwapInStagedFiles(
            swap.folder.path(), swap.files,
            swap.FailingAt(3, [] { return Status(Fail("cannot replace c: in use")); }));
        EXPECT_EQ(swapped.error(), "cannot replace c: in use");
        EXPECT_EQ(swap.Version(), swap.old);
    }
    for (int killedAt = 1; killedAt <= 3; ++killedAt) {
        SCOPED_TRACE("killed before rename " + std::to_string(killedAt));
        StagedSwap swap;
        const pid_t child = ::fork();
        if (child == 0) {
            (void)SwapInStagedFiles(swap.folder.path(), swap.files,
                                    swap.FailingAt(killedAt, []() -> Status { ::_exit(9); }));
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_EQ(WEXITSTATUS(status), 9);
        EXPECT_EQ(*RecoverInterruptedUpdate(swap.folder.path()), Recovery::RolledBack);
        EXPECT_EQ(swap.Version(), swap.old);
    }
    {
        SCOPED_TRACE("finished");
        StagedSwap swap;
        ASSERT_TRUE(SwapInStagedFiles(swap.folder.path(), swap.files).ok());
        EXPECT_EQ(swap.Version(),
                  (Files{{"/a", "new a"}, {"/b", "old b"}, {"/c", "new c"}, {"/d", "new d"}}));
    }
}

}  // namespace
}  // namespace zolt
