#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "branding/AppVersion.h"
#include "branding/BrandFiles.h"
#include "branding/BrandSettingsFile.h"
#include "branding/BrandSettingsText.h"
#include "branding/BrandSetup.h"
#include "branding/SettingsKeys.h"
#include "branding/SettingsTag.h"
#include "branding/SettingsText.h"
#include "crypto/Encryption.h"
#include "crypto/MemoryStream.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPictures.h"
#include "util/SettingsFileCrypt.h"
#include "util/Zlib.h"

namespace zolt {
namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun Tool(const QStringList& args,
             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(ZOLT_BRAND_TOOL, args);
    ToolRun r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitCode();
    // Windows ends the tool's lines with CR LF; the rows compare lines.
    r.out = p.readAllStandardOutput().replace("\r\n", "\n").toStdString();
    r.err = p.readAllStandardError().replace("\r\n", "\n").toStdString();
    return r;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string E(const std::string& key, const std::string& value) {
    return SettingsTag{key}.Element(value) + "\r\n";
}

TEST(BrandTool, TemplateRoundTripThroughTheProgramsOwnReader) {
    test::TempDir dir;
    ASSERT_EQ(Tool({"new", Q(dir.file("brand.txt"))}).status, 0);
    const std::string plain = dir.read("brand.txt");
    ASSERT_EQ(Tool({"encrypt", Q(dir.file("brand.txt")), Q(dir.file("dbsettings.dat"))}).status, 0);
    EXPECT_EQ(dir.read("dbsettings.dat").find("My Feed Tool"), std::string::npos);
    EXPECT_EQ(dir.read("dbsettings.dat").find("<%%"), std::string::npos);

    // The program reads every key of the template, with a value.
    auto recorder = std::make_shared<test::Recorder>();
    const std::optional<BrandSetup> setup =
        ReadBrandSetup(dir.path(), test::MakeRecordingServices(recorder));
    ASSERT_TRUE(setup.has_value());
    const ParsedBrandSettings parsed = ParseBrandSettings(RebuildSettingsText(plain));
    for (const SettingsKey& key : SettingsKeyTable()) {
        if (key.field != nullptr) {
            EXPECT_FALSE((setup->record.*key.field).empty()) << key.name;
            EXPECT_EQ(setup->record.*key.field, parsed.record.*key.field) << key.name;
        }
    }
    EXPECT_EQ(parsed.welcomePages.size(), 1u);
    EXPECT_EQ(parsed.banners.size(), 1u);
    EXPECT_EQ(parsed.links.size(), 1u);
    EXPECT_EQ(setup->record.content.WelcomeHtml, parsed.welcomePages[0]);
    EXPECT_EQ(setup->record.AffiliateURL.find("%%AFFILIATEID%%"), std::string::npos);
    EXPECT_TRUE(setup->newsButtonVisible);
    EXPECT_EQ(setup->record.content.Link1Caption + "^" + setup->record.content.Link1URL,
              parsed.links[0]);

    ASSERT_EQ(Tool({"decrypt", Q(dir.file("dbsettings.dat")), Q(dir.file("back.txt"))}).status, 0);
    EXPECT_EQ(dir.read("back.txt"), plain);
#ifndef _WIN32  // a plain text is for its owner's eyes only
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("back.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
#endif

    // With its banner picture beside it the template is clean, encrypted or not.
    const ToolRun missing = Tool({"check", Q(dir.file("dbsettings.dat"))});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("Banner1 has no picture file banner1.dat"), std::string::npos);
    dir.write("banner1.dat", test::MakeJpeg(468, 60));
    for (const char* file : {"dbsettings.dat", "brand.txt"}) {
        const ToolRun clean = Tool({"check", Q(dir.file(file))});
        EXPECT_EQ(clean.status, 0) << file << clean.out;
        EXPECT_NE(clean.out.find("ApplicationName: \"My Feed Tool\""), std::string::npos);
        EXPECT_NE(clean.out.find(std::string("window title: \"My Feed Tool v") + AppVersion + "\""),
                  std::string::npos);
        EXPECT_EQ(clean.out.find("warning:"), std::string::npos) << clean.out;
    }
}

TEST(BrandTool, CheckWarnsAboutWhatTheReaderWillMiss) {
    test::TempDir dir;
    std::string text =
        E("BranderCode", "EARLY") + E("ApplicationName", "Mixed Up") + E("BranderType", "gold") +
        E("Unknown", "x") + "<%%AppHelpURL%%>http://help/\r\n" + E("Welcome1", "w1") +
        E("Welcome2", "w2") + E("Welcome4", "w4") + E("Banner1", "pic.emf^http://a/") +
        E("Banner2", "pic.jpg^http://b/") + E("Banner3", "pic.gif^http://c/");
    for (int n = 1; n <= 17; ++n) {
        text += E("Link" + std::to_string(n), "L^http://l/");
    }
    text += "x " + E("LastNewsId", "5") + "\r\n" + E("UpdateBaseURL", "ftp://updates/") +
            E("UpdatePublicKey", "c2hvcnQ=");
    dir.write("mixed.txt", text);
    dir.write("banner1.dat", test::MakeJpeg(10, 10));
    dir.write("banner3.dat", test::MakeJpeg(10, 10));  // not a GIF
    const ToolRun r = Tool({"check", Q(dir.file("mixed.txt"))});
    EXPECT_EQ(r.status, 2);
    const std::vector<std::string> expected = {
        "<%%BranderCode%%> stands before an element read earlier",
        "<%%Unknown%%> is no element the program reads",
        "<%%AppHelpURL%%> has no closing tag",
        "<%%Welcome4%%> comes after a gap (Welcome3 is not read)",
        "Banner1: the image name \"pic.emf\" names no picture format",
        "Banner2 has no picture file banner2.dat",
        "Banner3: banner3.dat cannot be read as a gif picture",
        "<%%Link17%%> is above 16 and never read",
        "BranderType \"gold\" is none of Master, Platinum, Gold and Free",
        "<%%LastNewsId%%> must stand alone on its line",
        "UpdateBaseURL \"ftp://updates/\" is not an http or https address of a folder",
        "UpdatePublicKey is not the base64 text of a 32-byte Ed25519 public key",
    };
    for (const std::string& warning : expected) {
        EXPECT_NE(r.out.find("warning: " + warning), std::string::npos) << warning << "\n" << r.out;
    }
    EXPECT_NE(r.out.find("BranderCode: \"\""), std::string::npos);
    EXPECT_NE(r.out.find("ApplicationName: \"Mixed Up\""), std::string::npos);
    EXPECT_NE(r.out.find("Link16: "), std::string::npos);
    EXPECT_EQ(r.out.find("Link17: "), std::string::npos);
    EXPECT_NE(r.out.find("Welcome2: \"w2\""), std::string::npos);
    EXPECT_EQ(r.out.find("Welcome4: "), std::string::npos);

    dir.write("gold.txt", E("ApplicationName", "G") + E("BranderType", "Gold") +
                              E("GoldNewsBaseURL", "http://news/"));
    const ToolRun gold = Tool({"check", Q(dir.file("gold.txt"))});
    EXPECT_EQ(gold.status, 2);
    EXPECT_NE(gold.out.find("warning: the Gold news channel is not filled"), std::string::npos);
    EXPECT_NE(gold.out.find("news button: \"hidden\""), std::string::npos);
}

std::string EncryptedWithPassword(const std::string& plain, const std::string& password) {
    MemoryStream in(plain);
    MemoryStream out;
    TEncryption encryption(password, kSettingsBufferSize);
    EXPECT_TRUE(encryption.EncryptStream(in, out));
    return out.takeBytes();
}

TEST(BrandTool, DamagedFilesFailAndLeaveNothingBehind) {
    const std::string good = EncryptSettingsBytes(E("ApplicationName", "Fine"));
    std::string flipped = good;
    flipped[flipped.size() - 1] = static_cast<char>(flipped.back() ^ 0x40);
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"wrong password", EncryptedWithPassword(E("ApplicationName", "Fine"), "other")},
        {"cut short", good.substr(0, 12)},
        {"damaged code", flipped},
        {"empty", ""},
    };
    for (const auto& [what, bytes] : damaged) {
        test::TempDir dir;
        dir.write("dbsettings.dat", bytes);
        const ToolRun decrypt =
            Tool({"decrypt", Q(dir.file("dbsettings.dat")), Q(dir.file("out.txt"))});
        EXPECT_EQ(decrypt.status, 1) << what;
        EXPECT_NE(decrypt.err.find("cannot decrypt"), std::string::npos) << what << decrypt.err;
        EXPECT_FALSE(dir.exists("out.txt")) << what;
        const ToolRun check = Tool({"check", Q(dir.file("dbsettings.dat"))});
        EXPECT_EQ(check.status, 1) << what;
        EXPECT_EQ(QDir(Q(dir.path())).entryList(QDir::Files), QStringList{"dbsettings.dat"});
    }

    test::TempDir dir;
    dir.write("keep.txt", "mine");
    EXPECT_EQ(Tool({"new", Q(dir.file("keep.txt"))}).status, 1);
    EXPECT_EQ(dir.read("keep.txt"), "mine");
    EXPECT_EQ(Tool({"encrypt", Q(dir.file("missing.txt")), Q(dir.file("x.dat"))}).status, 1);
    EXPECT_FALSE(dir.exists("x.dat"));
    EXPECT_EQ(Tool({"encrypt", Q(dir.file("keep.txt")), Q(dir.file("no/such/dir/x.dat"))}).status,
              1);
    EXPECT_EQ(Tool({"decrypt", Q(dir.file("keep.txt"))}).status, 1);
    EXPECT_EQ(Tool({"frobnicate"}).status, 1);
    EXPECT_EQ(Tool({}).status, 1);
}

#ifndef _WIN32  // POSIX links; Debian packages
TEST(BrandTool, OutputsReplaceLinksAndNeverWriteThroughThem) {
    test::TempDir dir;
    dir.write("brand.txt", E("ApplicationName", "Fine"));
    dir.write("brand.dat", EncryptSettingsBytes(E("ApplicationName", "Fine")));
    dir.write("skin.qss", "QWidget { color: red; }");
    const std::vector<std::pair<QString, QString>> runs = {
        {"encrypt", "brand.txt"}, {"decrypt", "brand.dat"}, {"skin", "skin.qss"}};
    for (const auto& [command, input] : runs) {
        const std::string out = "out-" + command.toStdString();
        dir.write("victim", "mine");
        ASSERT_EQ(::symlink(dir.file("victim").c_str(), dir.file(out).c_str()), 0);
        EXPECT_EQ(Tool({command, Q(dir.file(input.toStdString())), Q(dir.file(out))}).status, 0);
        EXPECT_EQ(dir.read("victim"), "mine") << command.toStdString();
        EXPECT_FALSE(QFileInfo(Q(dir.file(out))).isSymLink()) << out;
    }
    // "new" writes only a name that nothing has, a link pointing nowhere included.
    ASSERT_EQ(::symlink(dir.file("nowhere").c_str(), dir.file("dangling").c_str()), 0);
    EXPECT_EQ(Tool({"new", Q(dir.file("dangling"))}).status, 1);
    EXPECT_EQ(dir.read("victim"), "mine");
    EXPECT_FALSE(dir.exists("nowhere"));
}

TEST(BrandTool, PackageRefusesTakenNamesAndBrandFilesOverTheLimit) {
    test::TempDir dir;
    ASSERT_TRUE(QDir().mkpath(Q(dir.file("bin"))) && QDir().mkpath(Q(dir.file("brand"))));
    dir.write("bin/zolt-own-tool", "#!/bin/sh\n");
    ASSERT_EQ(::chmod(dir.file("bin/zolt-own-tool").c_str(), 0755), 0);
    dir.write("brand/dbsettings.dat",
              EncryptSettingsBytes(E("ApplicationName", "Bash") + E("Banner1", "b.jpg^http://x/")));
    dir.write("brand/banner1.dat", "");
    ASSERT_EQ(::truncate(dir.file("brand/banner1.dat").c_str(), kMaxBrandFileSize + 1), 0);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A caller's PATH without the system's sbin folders still sees their commands.
    env.insert("PATH", Q(dir.file("bin")) + ":/usr/bin:/bin");
    // apt without package lists knows only what is installed.
    dir.write("apt.conf", "Dir::State::Lists \"" + dir.file("bin") + "\";\n");
    QProcessEnvironment noLists = env;
    noLists.insert("APT_CONFIG", Q(dir.file("apt.conf")));
    const QString brand = Q(dir.file("brand"));
    const QString base = Q(dir.file("missing.deb"));
    const std::string bash =
        "\"bash\" is taken on this machine by a package that dpkg knows; "
        "give another one with --name";
    const std::vector<std::pair<QStringList, std::string>> rows = {
        {{"package", brand, base}, bash},  // the product name "Bash" gives it
        {{"package", "--name", "zolt-own-tool", brand, base},
         "taken on this machine by the command"},
        {{"package", "--name", "useradd", brand, base},
         "taken on this machine by the command /usr/sbin/useradd"},
        {{"apt-less", "--name", "zolt-of-its-own", brand, base}, "run \"apt update\""},
        {{"package", "--name", "rssfeedzolt", brand, base}, "\"rssfeedzolt\" is none;"},
        {{"package", "--name", "zolt-of-its-own", brand, base}, "--maintainer \"NAME <ADDRESS>\""},
        {{"package", "--name", "zolt-of-its-own", "--maintainer", "Z <z@z.example>", brand, base},
         "banner1.dat\" is larger than 16 MiB"},
    };
    for (auto [args, message] : rows) {
        const bool aptLess = args.front() == "apt-less";
        args.front() = "package";
        const ToolRun r = Tool(args, aptLess ? noLists : env);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    const ToolRun check = Tool({"check", Q(dir.file("brand/dbsettings.dat"))});
    EXPECT_NE(check.out.find("banner1.dat is larger than 16 MiB"), std::string::npos) << check.out;
}
#endif

TEST(BrandTool, SkinIsStoredTheWayTheProgramLoadsIt) {
    test::TempDir dir;
    const std::string sheet = "QPushButton { color: #102030; }\n";
    dir.write("skin.qss", sheet);
    ASSERT_EQ(Tool({"skin", Q(dir.file("skin.qss")), Q(dir.file("mainskin.dat"))}).status, 0);
    EXPECT_EQ(ReadSkinStyleSheet(dir.path()).value_or(""), sheet);
    dir.write("empty.qss", "  \n");
    EXPECT_EQ(Tool({"skin", Q(dir.file("empty.qss")), Q(dir.file("other.dat"))}).status, 1);
    EXPECT_FALSE(dir.exists("other.dat"));
}

// A skin that Qt cannot parse would leave the program unskinned: refused
// where it is made and where it is checked, with the line; an icon's
// unreadable entries are named beside the sizes the program will use.
TEST(BrandTool, BrokenSkinsAndIconsAreRefusedWithTheirLine) {
    test::TempDir dir;
    dir.write("brand.txt", E("ApplicationName", "Skinned"));
    dir.write("main.ico", test::MakeIcoWithUnreadableFirstEntry());
    const std::vector<std::pair<std::string, std::string>> sheets = {
        {"QLabel { color: red; }\nQPushButton { color: blue;\n", "line 2: it ends inside a rule"},
        {"QLabel { color: red; }\n\n}\n", "line 3, at \"}\""},
        {"file:///etc/hostname", "starts with \"file:///\""},
    };
    for (const auto& [sheet, says] : sheets) {
        dir.write("skin.qss", sheet);
        const ToolRun skin = Tool({"skin", Q(dir.file("skin.qss")), Q(dir.file("mainskin.dat"))});
        EXPECT_EQ(skin.status, 1);
        EXPECT_NE(skin.err.find(says), std::string::npos) << skin.err;
        EXPECT_FALSE(dir.exists("mainskin.dat"));
        dir.write("mainskin.dat", ZlibCompress(sheet));
        const ToolRun check = Tool({"check", Q(dir.file("brand.txt"))});
        EXPECT_EQ(check.status, 2);
        EXPECT_NE(check.out.find("warning: mainskin.dat: "), std::string::npos);
        EXPECT_NE(check.out.find(says), std::string::npos) << check.out;
        EXPECT_NE(check.out.find("main.ico: \"sizes 32x32\"\n"), std::string::npos);
        EXPECT_NE(check.out.find("main.ico: the program skips entry 1"), std::string::npos);
        QFile::remove(Q(dir.file("mainskin.dat")));
    }
}

// Authenticode with a certificate made here: the installer, what it holds
// and files signed alone verify against it; a wrong password signs nothing.
TEST(BrandTool, WindowsFilesAreSignedWithTheResellersCertificate) {
    for (const char* program : {"makensis", "osslsigncode", "openssl"}) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            GTEST_SKIP() << "no " << program;
        }
    }
    test::TempDir dir;
    const auto run = [&](const QString& program, const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(Q(dir.path()));
        p.start(program, args);
        return p.waitForFinished(120000) && p.exitCode() == 0;
    };
    ASSERT_TRUE(QDir().mkpath(Q(dir.file("base/platforms"))) &&
                QDir().mkpath(Q(dir.file("brand"))));
    dir.write("pe.nsi", "OutFile base/rssfeedzolt.exe\nSection\nSectionEnd\n");
    dir.write("password", "pw-of-the-pfx\n");
    ASSERT_TRUE(run("makensis", {"-V1", "pe.nsi"}));
    ASSERT_TRUE(
        QFile::copy(Q(dir.file("base/rssfeedzolt.exe")), Q(dir.file("base/platforms/q.dll"))));
    ASSERT_TRUE(run("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                                "-subj", "/CN=Brand Test Signing", "-keyout", "key.pem", "-out",
                                "cert.pem", "-addext", "extendedKeyUsage=codeSigning"}));
    ASSERT_TRUE(run("openssl", {"pkcs12", "-export", "-inkey", "key.pem", "-in", "cert.pem", "-out",
                                "cert.pfx", "-passout", "file:password"}));
    dir.write("brand/dbsettings.dat", EncryptSettingsBytes(E("ApplicationName", "Signed")));
    const QStringList installer = {"installer",
                                   "--sign",
                                   Q(dir.file("cert.pfx")),
                                   "--password-file",
                                   Q(dir.file("password")),
                                   Q(dir.file("brand")),
                                   Q(dir.file("base"))};
    const ToolRun made = Tool(installer);
    ASSERT_EQ(made.status, 0) << made.err;
    const QString built = Q(made.out).trimmed();
    const auto verified = [&](const QString& file) {
        return run("osslsigncode", {"verify", "-CAfile", "cert.pem", "-in", file});
    };
    EXPECT_TRUE(verified(built));
    EXPECT_FALSE(verified(Q(dir.file("base/rssfeedzolt.exe"))));  // the base is left as it was
    QProcess sign;
    sign.start(ZOLT_BRAND_TOOL,
               {"sign", "--password-file", "-", Q(dir.file("cert.pfx")),
                Q(dir.file("base/rssfeedzolt.exe")), Q(dir.file("base/platforms/q.dll"))});
    sign.write("pw-of-the-pfx\n");
    sign.closeWriteChannel();
    ASSERT_TRUE(sign.waitForFinished(60000));
    EXPECT_TRUE(verified(Q(dir.file("base/rssfeedzolt.exe"))) &&
                verified(Q(dir.file("base/platforms/q.dll"))));
    QFile::remove(built);
    dir.write("password", "wrong\n");
    const ToolRun refused = Tool(installer);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("a wrong password"), std::string::npos) << refused.err;
    EXPECT_FALSE(QFileInfo::exists(built));
}

TEST(BrandTool, HelpForEveryCommand) {
    for (const char* command :
         {"new", "encrypt", "decrypt", "check", "skin", "update-key", "update-sign"}) {
        const ToolRun r = Tool({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("Usage: zolt-brand ") + command, 0), 0u) << r.out;
        EXPECT_EQ(Tool({"help", command}).out, r.out);
    }
    EXPECT_EQ(Tool({"--version"}).out, std::string("zolt-brand ") + AppVersion + "\n");
    const ToolRun overview = Tool({"--help"});
    EXPECT_EQ(overview.status, 0);
    EXPECT_NE(overview.out.find("zolt-brand check FILE"), std::string::npos);
}

}  // namespace
}  // namespace zolt
