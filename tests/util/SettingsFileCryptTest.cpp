#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <random>
#include <vector>

#include "crypto/Encryption.h"
#include "crypto/MemoryStream.h"
#include "tests/support/TempDir.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {
namespace {

using test::TempDir;

std::string SettingsText(size_t length) {
    std::mt19937 engine(static_cast<unsigned>(length));
    std::string text;
    while (text.size() < length) {
        text += "<ProductName>Zolt " + std::to_string(engine()) + "</ProductName>\r\n";
    }
    text.resize(length);
    return text;
}

// What a failure must say: `what` the file `path` for the system's reason
// `errnoValue`.
std::string Refusal(const std::string& what, const std::string& path, int errnoValue) {
    return what + " \"" + path + "\": " + std::strerror(errnoValue);
}

TEST(SettingsFile, EncryptedFileIsTwentyBytesLongerAndDecryptsBack) {
    TempDir dir;
    for (const size_t length : {0u, 1u, 1000u, 262143u, 262144u, 262145u, 600000u}) {
        SCOPED_TRACE(length);
        const std::string text = SettingsText(length);
        dir.write("dbsettings.sim", text);
        EXPECT_TRUE(
            EncryptSettingsFile(dir.file("dbsettings.sim"), dir.file("dbsettings.dat"), 0644).ok());
        const std::string encrypted = dir.read("dbsettings.dat");
        ASSERT_EQ(encrypted.size(), length + 20);
        if (length >= 40) {
            EXPECT_EQ(encrypted.find(text.substr(0, 40)), std::string::npos);
        }

        dir.write("dbsettings.sim", "stale plain copy that is longer than some results");
        EXPECT_TRUE(
            DecryptSettingsFile(dir.file("dbsettings.dat"), dir.file("dbsettings.sim"), 0600).ok());
        EXPECT_TRUE(dir.read("dbsettings.sim") == text);
    }
    const Status twice =
        EncryptSettingsFile(dir.file("dbsettings.dat"), dir.file("twice.dat"), 0644);
    EXPECT_EQ(twice.error(), "\"" + dir.file("dbsettings.dat") + "\" is encrypted already");
    EXPECT_FALSE(dir.exists("twice.dat"));
}

TEST(SettingsFile, UnreadableSourcesAndUnwritableDestinationsAreRefusedByName) {
    TempDir dir;
    dir.write("dbsettings.sim", "Key=Value\r\n");
    const std::string missing = dir.file("dbsettings.dat");
    const std::string nowhere = dir.file("no-such-folder/dbsettings.dat");
    struct Row {
        bool decrypt;
        std::string source, dest, error;
    };
    const std::vector<Row> rows = {
        {true, missing, dir.file("out"), Refusal("cannot read", missing, ENOENT)},
        {false, missing, dir.file("out"), Refusal("cannot read", missing, ENOENT)},
        {true, dir.path(), dir.file("out"), "cannot read \"" + dir.path() + "\": it is a folder"},
        // The system's reason for a failed save differs between systems.
        {false, dir.file("dbsettings.sim"), nowhere, "cannot write \"" + nowhere + "\": "},
    };
    for (const Row& row : rows) {
        const Status status = row.decrypt ? DecryptSettingsFile(row.source, row.dest, 0600)
                                          : EncryptSettingsFile(row.source, row.dest, 0600);
        EXPECT_EQ(status.error().substr(0, row.error.size()), row.error);
        EXPECT_FALSE(dir.exists("out"));
    }
}

#ifndef _WIN32  // POSIX permissions
TEST(SettingsFile, UnreadableSourceIsRefusedWithTheSystemsReason) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    TempDir dir;
    dir.write("dbsettings.dat", "x");
    chmod(dir.file("dbsettings.dat").c_str(), 0);
    EXPECT_EQ(DecryptSettingsFile(dir.file("dbsettings.dat"), dir.file("out"), 0600).error(),
              Refusal("cannot read", dir.file("dbsettings.dat"), EACCES));
}
#endif

TEST(SettingsFile, ShortWrongPasswordAndDamagedFilesLeaveTheDestinationAsItWas) {
    TempDir dir;
    TEncryption other("not the settings password", 4096);
    MemoryStream plain(SettingsText(300)), otherPassword;
    ASSERT_TRUE(other.EncryptStream(plain, otherPassword));
    std::string damaged = EncryptSettingsBytes(SettingsText(5000));
    damaged[10 + 4321] = static_cast<char>(damaged[10 + 4321] ^ 0x20);
    for (const std::string& bytes : {std::string(19, 'x'), otherPassword.bytes(), damaged}) {
        dir.write("dbsettings.dat", bytes);
        dir.write("out", "old contents");
        const Status status =
            DecryptSettingsFile(dir.file("dbsettings.dat"), dir.file("out"), 0600);
        EXPECT_EQ(status.error().rfind("cannot decrypt \"" + dir.file("dbsettings.dat") + "\"", 0),
                  0u);
        EXPECT_EQ(dir.read("out"), "old contents");
    }
}

TEST(SettingsFile, ByteAndFileVariantsShareTheFileLayout) {
    TempDir dir;
    const std::string text = SettingsText(2048);
    dir.write("dbsettings.sim", text);
    ASSERT_TRUE(EncryptSettingsFile(dir.file("dbsettings.sim"), dir.file("saved.dat"), 0644).ok());
    const std::string saved = dir.read("saved.dat");
    ASSERT_EQ(saved.size(), 2068u);
    std::string plain;
    EXPECT_TRUE(DecryptSettingsBytes(saved, plain));
    EXPECT_TRUE(plain == text);

    const std::string encrypted = EncryptSettingsBytes(text);
    EXPECT_NE(encrypted, saved);  // a fresh salt every time
    dir.write("dbsettings.dat", encrypted);
    EXPECT_TRUE(DecryptSettingsFile(dir.file("dbsettings.dat"), dir.file("back.sim"), 0600).ok());
    EXPECT_TRUE(dir.read("back.sim") == text);

    std::string damaged = encrypted;
    damaged.back() = static_cast<char>(damaged.back() ^ 1);
    EXPECT_FALSE(DecryptSettingsBytes(damaged, plain));
    EXPECT_TRUE(plain == text);
    EXPECT_FALSE(DecryptSettingsBytes(encrypted.substr(0, 19), plain));
    EXPECT_EQ(plain, "");
}

}  // namespace
}  // namespace zolt
