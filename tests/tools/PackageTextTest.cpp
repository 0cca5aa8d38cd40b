#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include "tests/support/TempDir.h"
#include "tools/InstallerScript.h"
#include "tools/PackageDocs.h"
#include "tools/PackageScripts.h"
#include "tools/PackageText.h"

namespace zolt {
namespace {

// A brand's product name is the reseller's text and becomes a package name,
// a file name under /usr and a command: only what Debian allows comes out.
TEST(PackageText, ProductNamesGiveDebianPackageNamesOrNone) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"Lantern Feeds", "lantern-feeds"},
        {"  Caf\xC3\xA9 Zolt 2.0 ", "caf-zolt-2-0"},
        {"../../bin/sh", "bin-sh"},
        {"News\r\nFeeds\t; rm -rf /", "news-feeds-rm-rf"},
        {"\xC3\x84\xC3\x96", ""},
        {"x", ""},
        {"", ""},
    };
    for (const auto& [product, name] : names) {
        EXPECT_EQ(PackageNameFor(product), name) << product;
    }
}

TEST(PackageText, ValuesStayOnOneLineAndKeepTheirMeaning) {
    EXPECT_EQ(OneLine("  Feeds\r\n\tfor\x01 you  "), "Feeds for you");
    EXPECT_EQ(OneLine("Caf\xE9"), "Caf\xC3\xA9");  // Windows-1252 becomes UTF-8
    EXPECT_EQ(DesktopValue("a\\b"), "a\\\\b");
    EXPECT_EQ(XmlText("A & <b> \"c\" 'd'"), "A &amp; &lt;b&gt; &quot;c&quot; &apos;d&apos;");
    EXPECT_EQ(Paragraphs("one\r\ntwo\r\n\r\n\r\nthree\r\n"),
              (std::vector<std::string>{"one two", "three"}));
    EXPECT_EQ(WrapWords("aa bb cc", 5), (std::vector<std::string>{"aa bb", "cc"}));
    const BrandPackageInfo info{"b", "B", "Sum", "Dev", {"one two", ".three"}, "M <m@x>", "", ""};
    EXPECT_EQ(ControlText(info, {{"Version", "1"}, {"Maintainer", "Maker <m@maker>"}}, 5),
              "Package: b\nVersion: 1\nMaintainer: M <m@x>\nInstalled-Size: 5\n"
              "Description: Sum\n one two\n .\n  .three\n");
    // roff reads a leading "." as a request and "\" as an escape.
    EXPECT_EQ(RoffText(".so /etc/passwd \\fB-x"), "\\&.so /etc/passwd \\efB\\-x");
}

// The maintainer and the AppStream id name the brand, each in the form its
// reader takes.
TEST(PackageText, MaintainerAndIdAreTheBrandsOwn) {
    for (const auto& [maintainer, ok] :
         std::vector<std::pair<std::string, bool>>{{"Harbor News <pkg@harbor.example>", true},
                                                   {"Harbor News", false},
                                                   {"A <a@x>, B <b@x>", false},
                                                   {"Harbor\n <a@x>", false},
                                                   {"<a@x>", false}}) {
        EXPECT_EQ(IsMaintainer(maintainer), ok) << maintainer;
    }
    const std::vector<std::vector<std::string>> ids = {
        {"https://www.Harbor-News.example/help", "HN", "harbor-news-writer",
         "example.harbor_news.harbor_news_writer"},
        {"http://3news.example.org/", "HN", "a.b+c", "org.example._3news.a_b_c"},
        {"http://127.0.0.1/", "HN-1", "hn", "brand.hn_1.hn"},
        {"", "", "hn", "brand.reseller.hn"},
    };
    for (const auto& row : ids) {
        EXPECT_EQ(ComponentId(row[0], row[1], row[2]), row[3]) << row[0];
    }
    // The repository's address goes into a sources entry and a script.
    for (const auto& [url, ok] : std::vector<std::pair<std::string, bool>>{
             {"https://apt.harbor.example:8443/debian/", true},
             {"http://127.0.0.1/", true},
             {"ftp://apt.harbor.example/", false},
             {"https://apt.harbor.example/ stable", false},
             {"https://apt.harbor.example/?a=$(id)", false},
             {"https://apt.harbor.example/'\nEND", false}}) {
        EXPECT_EQ(IsRepositoryAddress(url), ok) << url;
    }
}

// The product name ends up in the installer's script, its folder under
// Program Files and its Start-menu entry: it can neither run a command of the
// script, name a variable, nor leave the folder.
TEST(PackageText, ProductNamesStayTextInTheInstallersScript) {
    struct Row {
        std::string product, name, folder;
    };
    const std::vector<Row> rows = {
        {"Lantern Feeds", "Name \"Lantern Feeds\"", "Lantern Feeds"},
        {"A$INSTDIR\"\nDelete C:\\x", "Name \"A$$INSTDIR$\\\" Delete C:\\x\"",
         "A$$INSTDIR--Delete C--x"},
        {"..\\..\\Windows. ", "Name \"..\\..\\Windows. \"", "..-..-Windows"},
        // A "${" of the brand is no define of the building machine.
        {"L ${U+22} ${NSISDIR}", "Name \"L $$${U+7B}U+22} $$${U+7B}NSISDIR}\"",
         "L $$${U+7B}U+22} $$${U+7B}NSISDIR}"},
    };
    for (const Row& row : rows) {
        InstallerInfo info{"brand", row.product, "P", "2.01", {"a\\b.dll"}, {"a"}, ""};
        const std::string script = NsisScriptText(info);
        EXPECT_NE(script.find("\n" + row.name + "\n"), std::string::npos) << script;
        EXPECT_NE(script.find("InstallDir \"$PROGRAMFILES64\\" + row.folder + "\"\n"),
                  std::string::npos)
            << script;
        EXPECT_EQ(script.find("\nDelete C:"), std::string::npos) << script;
        // The uninstaller names what it installed, never the folder as a whole.
        EXPECT_NE(script.find("Delete \"$INSTDIR\\a\\b.dll\""), std::string::npos) << script;
        EXPECT_EQ(script.find("RMDir /r"), std::string::npos) << script;
    }
    // Each brand's uninstall key is its own: no other program's name.
    // The key of a brand never changes, or an upgrade would leave the older
    // entry behind: RFC 4122's name-based GUID, as any tool computes it.
    EXPECT_EQ(UninstallKeyFor("lantern-feeds"), "{bb8de0fe-7606-5be3-8c27-6200d25f280b}");
    const std::string key = UninstallKeyFor("notepad++");
    EXPECT_NE(key, UninstallKeyFor("7-zip"));
    EXPECT_NE(NsisScriptText({"notepad++", "N", "P", "2.01", {}, {}, ""})
                  .find("Uninstall\\" + NsisEscaped(key) + "\" DisplayName"),
              std::string::npos);
}

#ifndef _WIN32
// What makensis itself reads from the script: the brand's text as written,
// no path of this machine, in the name, "Apps" and the file properties.
TEST(PackageText, MakensisReadsTheBrandsTextAsWritten) {
    if (QStandardPaths::findExecutable("makensis").isEmpty()) {
        GTEST_SKIP() << "no makensis";
    }
    test::TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("stage"))));
    dir.write("stage/rssfeedzolt.exe", "MZ");
    const std::string product = "Lantern ${U+22} Feeds ${NSISDIR} ${__FILEDIR__} $INSTDIR";
    dir.write("installer.nsi",
              NsisScriptText(
                  {"lantern", product, "Pub ${NSISDIR}", "2.01", {"rssfeedzolt.exe"}, {}, ""}));
    QProcess makensis;
    makensis.setWorkingDirectory(QString::fromStdString(dir.path()));
    makensis.start("makensis", {"-V4", "-INPUTCHARSET", "UTF8", "installer.nsi"});
    ASSERT_TRUE(makensis.waitForFinished(120000));
    const std::string log = makensis.readAll().toStdString();
    EXPECT_EQ(makensis.exitCode(), 0) << log;
    const std::string shown = "Lantern $${U+22} Feeds $${NSISDIR} $${__FILEDIR__} $$INSTDIR";
    for (const std::string& line :
         {"Name: \"" + shown + "\"", "DisplayName=" + shown + "\n",
          std::string("Publisher=Pub $${NSISDIR}\n"), "ProductName\" \"" + shown + "\""}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
}
#endif

}  // namespace
}  // namespace zolt
