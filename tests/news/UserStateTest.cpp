#include <QDir>

#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "news/LastNewsId.h"
#include "news/UserState.h"
#include "tests/news/NewsIdText.h"
#include "tests/support/TempDir.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {
namespace {

using test::Id;
using test::Text;

using test::TempDir;

TEST(UserState, ABranderCodeNamesOneFileInsideTheStateFolderOrNone) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> codes = {
        {"GOLD-7_x", "GOLD-7_x"},
        {"../../etc/passwd", "%2E%2E%2F%2E%2E%2Fetc%2Fpasswd"},
        {".hidden", "%2Ehidden"},
        {"a b\r\n\t\x01", "a%20b%0D%0A%09%01"},
        {"100%", "100%25"},
        {"Caf\xC3\xA9", "Caf%C3%A9"},
        {std::string("a\0b", 3), "a%00b"},
        {std::string(kMaxStateNameBytes, 'Z'), std::string(kMaxStateNameBytes, 'Z')},
        {std::string(kMaxStateNameBytes + 1, 'Z'), std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [code, name] : codes) {
        EXPECT_EQ(StateFileName(code), name) << code;
    }
}

// Where the id read in the news window goes: the settings file while the
// program may write its folder, this user's state file when not.
TEST(UserState, TheLastNewsIdGoesToTheStateFolderOnlyWhenTheProgramFolderIsNotOurs) {
    struct Row {
        const char* name;
        std::string code;
        bool packageInstall;
        bool stateFolder;
        bool written;
        std::optional<std::string> stateFile;  // its name, when one is kept
    } rows[] = {
        {"writable folder", "PROD", false, true, true, std::nullopt},
        {"package install", "PROD", true, true, true, "PROD"},
        {"hostile code", "../x", true, true, true, "%2E%2E%2Fx"},
        {"code too long", std::string(65, 'c'), true, true, false, std::nullopt},
        {"no state folder", "PROD", true, false, false, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir program;
        TempDir home;
        const std::string plain =
            "<%%ApplicationName%%>x<%%/ApplicationName%%>\r\n<%%BranderCode%%>" + row.code +
            "<%%/BranderCode%%>\r\n<%%LastNewsId%%>7<%%/LastNewsId%%>\r\n";
        program.write("dbsettings.dat", EncryptSettingsBytes(plain));
        ProgramConfig config;
        config.baseDir = program.path();
        config.packageInstall = row.packageInstall;
        config.stateDir = row.stateFolder ? home.file("state/rssfeedzolt/") : "";
        const std::string before = program.read("dbsettings.dat");

        EXPECT_EQ(WriteLastNewsId(config, Id("16")), row.written);
        EXPECT_EQ(Text(ReadLastNewsId(config)), row.written ? "16" : "7");
        const bool settingsChanged = program.read("dbsettings.dat") != before;
        EXPECT_EQ(settingsChanged, !row.packageInstall);
        EXPECT_EQ(QDir(QString::fromStdString(program.path())).count(), 3u);  // ".", "..", the file
        const QStringList kept =
            QDir(QString::fromStdString(home.file("state/rssfeedzolt"))).entryList(QDir::Files);
        EXPECT_EQ(kept, row.stateFile ? QStringList{QString::fromStdString(*row.stateFile)}
                                      : QStringList{});
        EXPECT_LE(QDir(QString::fromStdString(home.file("state"))).count(), 3u);  // rssfeedzolt/
        // An older message read later keeps the newer id; a newer one
        // replaces it in the same file.
        if (row.stateFile) {
            ASSERT_TRUE(WriteLastNewsId(config, Id("3")));
            EXPECT_EQ(Text(ReadLastNewsId(config)), "16");
            ASSERT_TRUE(WriteLastNewsId(config, Id("20")));
            EXPECT_EQ(Text(ReadLastNewsId(config)), "20");
            EXPECT_EQ(QDir(QString::fromStdString(home.file("state/rssfeedzolt"))).count(), 3u);
#ifndef _WIN32  // on Windows the user's own folder keeps others out
            // Other users of the machine may not read what this one has read.
            struct stat folder {};
            ASSERT_EQ(::stat(home.file("state/rssfeedzolt").c_str(), &folder), 0);
            EXPECT_EQ(folder.st_mode & 0777, 0700u);
#endif
            // A state file that holds no id counts as none: the settings file's id again;
            // one with a lower id than the settings file's counts as read up to the higher.
            const std::string state = home.file("state/rssfeedzolt/" + *row.stateFile);
            test::WriteFileBytes(state, "garbage\r\n");
            EXPECT_EQ(Text(ReadLastNewsId(config)), "7");
            test::WriteFileBytes(state, "<%%LastNewsId%%>5<%%/LastNewsId%%>\r\n");
            EXPECT_EQ(Text(ReadLastNewsId(config)), "7");
        }
    }
}

}  // namespace
}  // namespace zolt
