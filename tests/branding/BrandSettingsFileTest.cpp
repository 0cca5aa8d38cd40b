#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "branding/AppVersion.h"
#include "branding/BrandFiles.h"
#include "branding/BrandSettingsFile.h"
#include "branding/BrandSetup.h"
#include "branding/SettingsText.h"
#include "crypto/Encryption.h"
#include "crypto/MemoryStream.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "util/SettingsFileCrypt.h"
#include "util/Zlib.h"

namespace zolt {
namespace {

const std::string kPlain =
    "<%%ApplicationName%%>Feed Wizard<%%/ApplicationName%%>\n"
    "<%%BranderCode%%>FW-01<%%/BranderCode%%>\n"
    "<%%BranderType%%>Platinum<%%/BranderType%%>\n"
    "<%%AffiliateURL%%>http://shop/?a=%%AFFILIATEID%%<%%/AffiliateURL%%>\n"
    "<%%AffiliateID%%>4711<%%/AffiliateID%%>\n"
    "<%%PlatinumNewsBaseURL%%>http://news/<%%/PlatinumNewsBaseURL%%>\n"
    "<%%PlatinumPublID%%>pp<%%/PlatinumPublID%%>\n"
    "<%%MakeMoneyButton%%>Earn Cash<%%/MakeMoneyButton%%>\n"
    "<%%AboutText%%>first\nsecond<%%/AboutText%%>\n"
    "<%%Welcome1%%><h1>Hi</h1><%%/Welcome1%%>\n"
    "<%%Banner1%%>top.jpg^http://ad/<%%/Banner1%%>\n"
    "<%%Link1%%>One^http://one/<%%/Link1%%>\n";

// Settings folder with "dbsettings.dat" encrypted by the program's own
// routine from `plain`.
void WriteEncrypted(const test::TempDir& dir, const std::string& plain) {
    test::TempDir source;
    source.write("plain.txt", plain);
    ASSERT_TRUE(
        EncryptSettingsFile(source.file("plain.txt"), dir.file("dbsettings.dat"), 0644).ok());
}

QStringList Listing(const test::TempDir& dir) {
    return QDir(QString::fromStdString(dir.path()))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

BrandSetup SetupOf(const test::TempDir& dir) {
    auto recorder = std::make_shared<test::Recorder>();
    std::optional<BrandSetup> setup =
        ReadBrandSetup(dir.path(), test::MakeRecordingServices(recorder));
    EXPECT_TRUE(setup.has_value());
    return setup.value_or(BrandSetup{});
}

TEST(BrandSettingsFile, EncryptedFileBrandsTheRecord) {
    test::TempDir dir;
    WriteEncrypted(dir, kPlain);
    dir.write("banner1.dat", "jpeg bytes");
    const BrandSetup setup = SetupOf(dir);
    EXPECT_EQ(setup.windowTitle, std::string("Feed Wizard v") + AppVersion);
    EXPECT_EQ(setup.makeMoneyCaption, "Earn Cash");
    EXPECT_TRUE(setup.newsButtonVisible);
    EXPECT_EQ(setup.record.BranderCode, "FW-01");
    EXPECT_EQ(setup.record.AffiliateURL, "http://shop/?a=4711");
    EXPECT_EQ(setup.record.AboutText, "first\r\nsecond");
    EXPECT_EQ(setup.record.content.WelcomeHtml, "<h1>Hi</h1>");
    EXPECT_EQ(setup.record.content.BannerClickURL, "http://ad/");
    EXPECT_EQ(setup.record.content.Link1Caption, "One");
    ASSERT_TRUE(setup.banner.has_value());
    EXPECT_EQ(setup.banner->bytes, "jpeg bytes");
    EXPECT_EQ(setup.banner->format, "jpg");
    EXPECT_FALSE(setup.skinStyleSheet.has_value());
    EXPECT_EQ(setup.iconPath, "");
    // The plain copy is gone again and nothing else appeared or moved.
    EXPECT_EQ(Listing(dir), (QStringList{"banner1.dat", "dbsettings.dat"}));
}

TEST(BrandSettingsFile, BannerAndIconOverTheLimitAreRefusedUnread) {
    test::TempDir dir;
    WriteEncrypted(dir, kPlain);
    for (const char* name : {"banner1.dat", "main.ico"}) {
        dir.write(name, "");
        ASSERT_EQ(::truncate(dir.file(name).c_str(), kMaxBrandFileSize + 1), 0);
    }
    const BrandSetup setup = SetupOf(dir);
    EXPECT_FALSE(setup.banner.has_value());
    EXPECT_EQ(setup.iconPath, "");
}

TEST(BrandSettingsFile, NoSettingsFileMeansUnbranded) {
    test::TempDir dir;
    dir.write("mainskin.dat", ZlibCompress("QWidget { color: red; }"));
    EXPECT_FALSE(ReadBrandSettingsText(dir.path()).has_value());
    auto recorder = std::make_shared<test::Recorder>();
    EXPECT_FALSE(ReadBrandSetup(dir.path(), test::MakeRecordingServices(recorder)).has_value());
    EXPECT_EQ(recorder->randomizeCalls, 0);
}

std::string EncryptWithPassword(const std::string& plain, const std::string& password) {
    MemoryStream in(plain);
    MemoryStream out;
    TEncryption encryption(password, kSettingsBufferSize);
    EXPECT_TRUE(encryption.EncryptStream(in, out));
    return out.takeBytes();
}

TEST(BrandSettingsFile, FilesThatDoNotDecryptReadAsAnEmptyBrand) {
    const std::string good = EncryptSettingsBytes(kPlain);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"wrong password", EncryptWithPassword(kPlain, "not the password")},
        {"shorter than its header", good.substr(0, 19)},
        {"empty file", ""},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        dir.write("dbsettings.dat", c.bytes);
        dir.write("banner1.dat", "jpeg bytes");
        const std::optional<std::string> text = ReadBrandSettingsText(dir.path());
        ASSERT_TRUE(text.has_value()) << c.what;
        EXPECT_EQ(*text, "") << c.what;
        const BrandSetup setup = SetupOf(dir);
        EXPECT_EQ(setup.windowTitle, std::string(" v") + AppVersion) << c.what;
        EXPECT_FALSE(setup.newsButtonVisible) << c.what;
        EXPECT_EQ(setup.makeMoneyCaption, "Make Money") << c.what;
        EXPECT_FALSE(setup.banner.has_value()) << c.what;
        EXPECT_FALSE(setup.record.content.LinksVisible()) << c.what;
        EXPECT_EQ(Listing(dir), (QStringList{"banner1.dat", "dbsettings.dat"})) << c.what;
    }
}

TEST(BrandSettingsFile, DamagedDataIsReadAsFarAsItDecrypts) {
    std::string bytes = EncryptSettingsBytes(kPlain);
    // Salt and verifier come first; flip one bit of the name's first letter.
    const std::size_t at = kPlain.find("Feed Wizard");
    bytes[8 + 2 + at] = static_cast<char>(bytes[8 + 2 + at] ^ 0x01);
    test::TempDir dir;
    dir.write("dbsettings.dat", bytes);
    const BrandSetup setup = SetupOf(dir);
    EXPECT_EQ(setup.record.ApplicationName, "Geed Wizard");
    EXPECT_EQ(setup.record.BranderCode, "FW-01");
    EXPECT_EQ(Listing(dir), QStringList{"dbsettings.dat"});
}

TEST(BrandSettingsFile, PlainCopyThatCannotBeMadeIsDecryptedInMemory) {
    test::TempDir dir;
    WriteEncrypted(dir, kPlain);
    const std::string expected = RebuildSettingsText(kPlain);
    // Something that is not a file stands under the copy's name.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("dbsettings.sim/inside"))));
    EXPECT_EQ(ReadBrandSettingsText(dir.path()), expected);
    EXPECT_EQ(SetupOf(dir).record.ApplicationName, "Feed Wizard");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(dir.file("dbsettings.sim/inside"))).isDir());

    // Damaged data reads as the copy would hold it: a flipped byte in the
    // text comes through flipped.
    std::string damaged = dir.read("dbsettings.dat");
    const std::string::size_type at = damaged.size() / 2;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
    dir.write("dbsettings.dat", damaged);
    const std::optional<std::string> text = ReadBrandSettingsText(dir.path());
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->size(), expected.size());
    EXPECT_NE(*text, expected);
}

#ifndef _WIN32  // POSIX links, permissions and devices
TEST(BrandSettingsFile, ReadOnlyFolderStillBrands) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser writes into read-only folders (the fault tests "
                        "cover this as an ordinary user)";
    }
    test::TempDir dir;
    WriteEncrypted(dir, kPlain);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
    EXPECT_EQ(ReadBrandSettingsText(dir.path()), RebuildSettingsText(kPlain));
    ASSERT_EQ(::chmod(dir.path().c_str(), 0700), 0);
    EXPECT_EQ(Listing(dir), QStringList{"dbsettings.dat"});
}
#endif

#ifndef _WIN32  // POSIX links, permissions and devices
TEST(BrandSettingsFile, PlainTextNeverTouchesTheDiskAndLeftoversGo) {
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "link planted as the plain copy" : "plain copy left by a crash");
        test::TempDir dir;
        WriteEncrypted(dir, kPlain);
        dir.write("target.txt", "must stay");
        if (link) {
            ASSERT_EQ(::symlink(dir.file("target.txt").c_str(), dir.file("dbsettings.sim").c_str()),
                      0);
        } else {
            dir.write("dbsettings.sim", kPlain);
        }
        EXPECT_EQ(ReadBrandSettingsText(dir.path()), RebuildSettingsText(kPlain));
        EXPECT_EQ(dir.read("target.txt"), "must stay");
        EXPECT_EQ(Listing(dir), (QStringList{"dbsettings.dat", "target.txt"}));
    }
}
#endif

TEST(SkinStyleSheet, StoredCompressedOrIgnored) {
    test::TempDir dir;
    EXPECT_FALSE(ReadSkinStyleSheet(dir.path()).has_value());
    dir.write("mainskin.dat", ZlibCompress("QPushButton { color: #123456; }"));
    EXPECT_EQ(ReadSkinStyleSheet(dir.path()).value_or(""), "QPushButton { color: #123456; }");
    dir.write("mainskin.dat", ZlibCompress(" \r\n\t"));
    EXPECT_FALSE(ReadSkinStyleSheet(dir.path()).has_value());
    dir.write("mainskin.dat", "QPushButton { not compressed }");
    EXPECT_FALSE(ReadSkinStyleSheet(dir.path()).has_value());
    dir.write("mainskin.dat", "");
    EXPECT_FALSE(ReadSkinStyleSheet(dir.path()).has_value());
}

}  // namespace
}  // namespace zolt
