// The parts of "Preview" without widgets: where the library is found, and
// how a run of php ends, with stand-ins for php written as shell scripts.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

#include "feeds/FeedreaderFile.h"
#include "feeds/PreviewRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"

namespace zolt {
namespace {

TEST(Preview, TheLibraryIsFoundWhereEachInstallPutsIt) {
    const std::string shared = "share/rssfeedzolt/server/feedreader/feedreader.php";
    struct Row {
        const char* programDir;
        std::string found;
        std::vector<std::string> others;  // a name ending in "/" is a folder
    };
    const Row rows[] = {
        {"bundle", "bundle/feedreader.php", {shared}},
        {"bin", shared, {"bin/feedreader.php/"}},
        {"usr/lib/rssfeedzolt", "usr/" + shared, {"usr/lib/feedreader.php"}},
        {"usr/lib/harbor", "usr/share/harbor/feedreader.php", {"usr/" + shared}},
        {"bin", "", {"feedreader.php", "usr/feedreader.php"}},
    };
    for (const Row& row : rows) {
        test::TempDir root;
        QDir().mkpath(QString::fromStdString(root.file(row.programDir)));
        for (std::string name : row.others) {
            name.insert(0, root.path() + "/");
            QDir().mkpath(QFileInfo(QString::fromStdString(name)).path());
            if (name.back() != '/') {
                test::WriteFileBytes(name, "<?php");
            }
        }
        if (!row.found.empty()) {
            QDir().mkpath(QFileInfo(QString::fromStdString(root.file(row.found))).path());
            test::WriteFileBytes(root.file(row.found), "<?php");
        }
        EXPECT_EQ(FindFeedreader(root.file(row.programDir),
                                 {root.file("home/.local/share"), root.file("usr/share")}),
                  row.found.empty() ? "" : root.file(row.found))
            << row.programDir;
    }
}

#ifndef _WIN32  // the stand-ins for php are shell scripts
TEST(Preview, EveryWayARunEndsIsToldApart) {
    const std::string all = "[PHP Modules]\\nCore\\ncurl\\nDOM\\nmbstring\\n\\n[Zend Modules]\\n";
    struct Row {
        std::string modules;
        const char* page;  // what the stand-in does when it runs the page
        PreviewResult result;
        const char* shown;     // in the window's document
        std::size_t kept = 0;  // bytes of page and errors together; 0: not checked
    };
    const Row rows[] = {
        {"[PHP Modules]\\nCore\\ndom\\nmbstring\\n", "", PreviewResult::NoExtension,
         "lacks the curl extension that"},
        {"Core\\nxml\\n", "", PreviewResult::NoExtension, "curl, XML and mbstring extensions"},
        {all, "test -f feedreader.php && cat index.php", PreviewResult::Page, "getnewsfeed(1);"},
        {all, "echo 'PHP Fatal error: <boom>' >&2; exit 255", PreviewResult::Error, "&lt;boom&gt;"},
        {all, "echo '  '; echo 'PHP Warning: quiet' >&2", PreviewResult::Nothing, "quiet"},
        {all, "kill -9 $$", PreviewResult::Error, "PHP stopped with an error."},
        {"", "", PreviewResult::Error, "PHP stopped with an error."},  // php -m fails
        // A runaway script is cut at 8 MiB of page and 256 KiB of errors.
        {all, "head -c 9000000 /dev/zero | tr '\\0' x", PreviewResult::Page, "xxx", 8 << 20},
        {all, "head -c 300000 /dev/zero | tr '\\0' e >&2", PreviewResult::Nothing, "eee",
         256 << 10},
    };
    test::TempDir dir;
    const std::string php = dir.file("php");
    for (const Row& row : rows) {
        test::WriteFileBytes(php, "#!/bin/sh\n[ \"$1\" = -m ] && { printf '" + row.modules +
                                      "'; [ -n '" + row.modules + "' ]; exit; }\n" + row.page +
                                      "\n");
        QFile::setPermissions(QString::fromStdString(php), QFile::ReadOwner | QFile::ExeOwner);
        std::optional<PreviewOutcome> outcome;
        PreviewRun run;
        run.onFinished = [&](const PreviewOutcome& o) { outcome = o; };
        run.Start({php, test::SourceDir() + "/server/feedreader/feedreader.php",
                   "<?php getnewsfeed(1);", 10000});
        ASSERT_TRUE(test::WaitFor([&] { return outcome.has_value(); })) << row.page;
        EXPECT_EQ(outcome->result, row.result) << row.page;
        EXPECT_NE(PreviewDocument(*outcome).find(row.shown), std::string::npos)
            << PreviewDocument(*outcome).substr(0, 4096);
        if (row.kept != 0) {
            EXPECT_EQ(outcome->page.size() + outcome->errors.size(), row.kept) << row.page;
        }
    }
}
#endif

#ifndef _WIN32  // POSIX links
TEST(Preview, TheSiteIsNeverWrittenThroughAPlantedLink) {
    for (const char* name : {"feedreader.php", kPreviewPageName}) {
        test::TempDir dir;
        dir.write("victim", "mine");
        ASSERT_EQ(::symlink(dir.file("victim").c_str(), dir.file(name).c_str()), 0);
        EXPECT_EQ(WritePreviewSite(
                      dir.path(), test::SourceDir() + "/server/feedreader/feedreader.php", "<?php"),
                  "")
            << name;
        EXPECT_EQ(dir.read("victim"), "mine") << name;
    }
}
#endif

}  // namespace
}  // namespace zolt
