#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#endif

#include <string>
#include <vector>

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

#ifdef _WIN32
// The account this process runs as.
std::vector<BYTE> ThisUser() {
    HANDLE token = nullptr;
    EXPECT_NE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token), 0);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    EXPECT_NE(GetTokenInformation(token, TokenUser, user.data(), size, &size), 0);
    CloseHandle(token);
    return user;
}

// A save for the owner alone (the plain settings text of a decrypted brand)
// lets in no account but this one (and the system, which Wine lists for
// every file); without its own access list the file takes the folder's,
// which lets in Everyone under Wine and the administrators on Windows.
TEST(SaveFileReplacing, AnOwnerOnlySaveLetsOnlyThisAccountIn) {
    TempDir dir;
    const std::vector<BYTE> user = ThisUser();
    const std::string path = dir.file("dbsettings.sim");
    ASSERT_TRUE(SaveFileReplacing(path, "secret", 0600));
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const std::wstring name = QDir::toNativeSeparators(QString::fromStdString(path)).toStdWString();
    ASSERT_EQ(GetNamedSecurityInfoW(name.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &dacl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr);
    BYTE system[SECURITY_MAX_SID_SIZE];
    DWORD systemSize = sizeof(system);
    ASSERT_NE(CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &systemSize), 0);
    PSID self = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    bool selfIn = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_NE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)), 0);
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        const bool isSelf = EqualSid(&ace->SidStart, self) != 0;
        EXPECT_TRUE(isSelf || EqualSid(&ace->SidStart, system) != 0) << "entry " << i;
        selfIn = selfIn || isSelf;
    }
    EXPECT_TRUE(selfIn);
    LocalFree(descriptor);
}
#endif

}  // namespace
}  // namespace zolt
