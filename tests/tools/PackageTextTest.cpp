#include <string>
#include <vector>

#include <gtest/gtest.h>

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
    };
    for (const Row& row : rows) {
        InstallerInfo info{"brand", row.product, "P", "2.01", "/s", "/o.exe", {"a\\b.dll"}, {"a"}};
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
}

}  // namespace
}  // namespace zolt
