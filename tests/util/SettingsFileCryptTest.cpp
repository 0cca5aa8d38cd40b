#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

#include "crypto/Encryption.h"
#include "crypto/MemoryStream.h"
#include "tests/support/TempDir.h"
#include "util/UUtils.h"

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

// What FileError must say for `path` and a failure of `errnoValue`.
std::string Reason(int errnoValue) {
    return std::strerror(errnoValue);
}

TEST(SettingsFile, EncryptedFileIsTwentyBytesLongerAndDecryptsBack) {
    TempDir dir;
    for (const size_t length : {0u, 1u, 1000u, 262143u, 262144u, 262145u, 600000u}) {
        SCOPED_TRACE(length);
        const std::string text = SettingsText(length);
        dir.write("dbsettings.sim", text);
        EXPECT_TRUE(EncryptSettingsFile(dir.file("dbsettings.sim"), dir.file("dbsettings.dat")));
        const std::string encrypted = dir.read("dbsettings.dat");
        ASSERT_EQ(encrypted.size(), length + 20);
        if (length >= 40) {
            EXPECT_EQ(encrypted.find(text.substr(0, 40)), std::string::npos);
        }

        dir.write("dbsettings.sim", "stale plain copy that is longer than some results");
        EXPECT_TRUE(DecryptSettingsFile(dir.file("dbsettings.dat"), dir.file("dbsettings.sim")));
        EXPECT_TRUE(dir.read("dbsettings.sim") == text);
    }
}

TEST(SettingsFile, MissingSourceRaisesTheOpenErrorAndLeavesTheDestinationAlone) {
    TempDir dir;
    const std::string source = dir.file("dbsettings.dat");
    for (const bool decrypt : {true, false}) {
        try {
            if (decrypt) {
                DecryptSettingsFile(source, dir.file("out"));
            } else {
                EncryptSettingsFile(source, dir.file("out"));
            }
            FAIL() << "no exception";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file \"" + source + "\". " + Reason(ENOENT));
        }
        EXPECT_FALSE(dir.exists("out"));
    }
    MemoryStream sink;
    EXPECT_THROW(EncryptSettingsFile(source, sink), FileError);
    EXPECT_EQ(sink.bytes(), "");
}

TEST(SettingsFile, AFolderAsSourceRaisesTheOpenError) {
    TempDir dir;
    try {
        DecryptSettingsFile(dir.path(), dir.file("out"));
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + dir.path() + "\". " + Reason(EISDIR));
    }
    EXPECT_FALSE(dir.exists("out"));
}

TEST(SettingsFile, UncreatableDestinationRaisesTheCreateError) {
    TempDir dir;
    dir.write("dbsettings.sim", "Key=Value\r\n");
    const std::string dest = dir.file("no-such-folder/dbsettings.dat");
    try {
        EncryptSettingsFile(dir.file("dbsettings.sim"), dest);
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + dest + "\". " + Reason(ENOENT));
    }
    EXPECT_THROW(DecryptSettingsFile(dir.file("dbsettings.sim"), dir.file("dbsettings.sim/x")),
                 FileError);
}

#ifndef _WIN32  // POSIX permissions
TEST(SettingsFile, UnreadableSourceRaisesTheOpenError) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    TempDir dir;
    dir.write("dbsettings.dat", "x");
    chmod(dir.file("dbsettings.dat").c_str(), 0);
    try {
        DecryptSettingsFile(dir.file("dbsettings.dat"), dir.file("out"));
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + dir.file("dbsettings.dat") + "\". " + Reason(EACCES));
    }
}
#endif

TEST(SettingsFile, ShortFileAndWrongPasswordLeaveAnEmptyDestination) {
    TempDir dir;
    dir.write("short.dat", std::string(19, 'x'));
    dir.write("out", "old contents");
    EXPECT_FALSE(DecryptSettingsFile(dir.file("short.dat"), dir.file("out")));
    EXPECT_TRUE(dir.exists("out"));
    EXPECT_EQ(dir.read("out"), "");

    // Another password: the verifier differs (or, once in 65536, the code).
    TEncryption other("not the settings password", 4096);
    MemoryStream plain(SettingsText(300)), encrypted;
    ASSERT_TRUE(other.EncryptStream(plain, encrypted));
    dir.write("other.dat", encrypted.bytes());
    dir.write("out", "old contents");
    EXPECT_FALSE(DecryptSettingsFile(dir.file("other.dat"), dir.file("out")));
    EXPECT_TRUE(dir.exists("out"));
    if (dir.read("out").size() != 0) {
        EXPECT_EQ(dir.read("out").size(), 300u);  // passed the verifier, failed the code
    }
}

TEST(SettingsFile, DamagedDataIsWrittenWholeAndReportedFalse) {
    TempDir dir;
    const std::string text = SettingsText(5000);
    std::string encrypted = EncryptSettingsBytes(text);
    ASSERT_EQ(encrypted.size(), 5020u);
    encrypted[10 + 4321] = static_cast<char>(encrypted[10 + 4321] ^ 0x20);
    dir.write("dbsettings.dat", encrypted);
    EXPECT_FALSE(DecryptSettingsFile(dir.file("dbsettings.dat"), dir.file("dbsettings.sim")));
    std::string expected = text;
    expected[4321] = static_cast<char>(expected[4321] ^ 0x20);
    EXPECT_TRUE(dir.read("dbsettings.sim") == expected);
}

TEST(SettingsFile, ByteAndStreamVariantsShareTheFileLayout) {
    TempDir dir;
    const std::string text = SettingsText(2048);
    dir.write("dbsettings.sim", text);
    MemoryStream saved;
    ASSERT_TRUE(EncryptSettingsFile(dir.file("dbsettings.sim"), saved));
    ASSERT_EQ(saved.bytes().size(), 2068u);
    std::string plain;
    EXPECT_TRUE(DecryptSettingsBytes(saved.bytes(), plain));
    EXPECT_TRUE(plain == text);

    const std::string encrypted = EncryptSettingsBytes(text);
    EXPECT_NE(encrypted, saved.bytes());  // a fresh salt every time
    dir.write("dbsettings.dat", encrypted);
    EXPECT_TRUE(DecryptSettingsFile(dir.file("dbsettings.dat"), dir.file("back.sim")));
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
