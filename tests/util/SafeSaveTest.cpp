#include <QDir>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "util/SafeSave.h"

namespace zolt {
namespace {

using test::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

// What stands at the name before the save, and what the save leaves there.
TEST(SaveFileReplacing, ReplacesTheNameKeepingARegularFilesModeAndNeverFollowingALink) {
    enum class Before { Nothing, File0644, File0600, Link };
    struct Row {
        const char* name;
        Before before;
        mode_t mode;  // of the saved file
    } rows[] = {
        {"new name", Before::Nothing, 0600},
        {"readable file", Before::File0644, 0644},
        {"private file", Before::File0600, 0600},
        {"link", Before::Link, 0600},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        TempDir elsewhere;
        const std::string path = dir.file("dbsettings.dat");
        elsewhere.write("target", "theirs");
        if (row.before == Before::File0644 || row.before == Before::File0600) {
            dir.write("dbsettings.dat", "old");
            ASSERT_EQ(::chmod(path.c_str(), row.before == Before::File0644 ? 0644 : 0600), 0);
        } else if (row.before == Before::Link) {
            ASSERT_EQ(::symlink(elsewhere.file("target").c_str(), path.c_str()), 0);
        }
        ASSERT_TRUE(SaveFileReplacing(path, "new"));
        EXPECT_EQ(dir.read("dbsettings.dat"), "new");
        EXPECT_TRUE(S_ISREG(ModeOf(path)));
        EXPECT_EQ(ModeOf(path) & 07777, row.mode);
        EXPECT_EQ(elsewhere.read("target"), "theirs");
        // No temporary file is left beside it.
        EXPECT_EQ(QDir(QString::fromStdString(dir.path()))
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{"dbsettings.dat"});
    }
}

}  // namespace
}  // namespace zolt
