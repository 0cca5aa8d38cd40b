#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "util/SafeSave.h"

namespace zolt {
namespace {

using test::TempDir;

#ifndef _WIN32
mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}
#endif

// What stands at the name before the save, and what the save leaves there.
// Windows keeps no permission bits, and its links need rights a user lacks:
// there the rows without them run.
TEST(SaveFileReplacing, ReplacesTheNameKeepingARegularFilesModeAndNeverFollowingALink) {
    enum class Before { Nothing, File0644, File0600, Link, Folder };
    struct Row {
        const char* name;
        Before before;
        unsigned mode;  // of the saved file; 0: the save fails
    } rows[] = {
        {"new name", Before::Nothing, 0600},
        {"readable file", Before::File0644, 0644},
        {"folder", Before::Folder, 0},
#ifndef _WIN32
        {"private file", Before::File0600, 0600},
        {"link", Before::Link, 0600},
#endif
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        TempDir elsewhere;
        const std::string path = dir.file("dbsettings.dat");
        elsewhere.write("target", "theirs");
        if (row.before == Before::File0644 || row.before == Before::File0600) {
            dir.write("dbsettings.dat", "old");
#ifndef _WIN32
            ASSERT_EQ(::chmod(path.c_str(), row.before == Before::File0644 ? 0644 : 0600), 0);
        } else if (row.before == Before::Link) {
            ASSERT_EQ(::symlink(elsewhere.file("target").c_str(), path.c_str()), 0);
#endif
        } else if (row.before == Before::Folder) {
            ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path)));
        }
        ASSERT_EQ(SaveFileReplacing(path, "new").ok(), row.mode != 0);
        if (row.mode == 0) {
            EXPECT_TRUE(QFileInfo(QString::fromStdString(path)).isDir());
        } else {
            EXPECT_EQ(dir.read("dbsettings.dat"), "new");
#ifndef _WIN32
            EXPECT_TRUE(S_ISREG(ModeOf(path)));
            EXPECT_EQ(ModeOf(path) & 07777, row.mode);
#endif
        }
        EXPECT_EQ(elsewhere.read("target"), "theirs");
        // No temporary file is left beside it.
        EXPECT_EQ(QDir(QString::fromStdString(dir.path()))
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{"dbsettings.dat"});
    }
}

}  // namespace
}  // namespace zolt
