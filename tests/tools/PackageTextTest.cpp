#include <string>
#include <vector>

#include <gtest/gtest.h>

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
    EXPECT_EQ(
        ControlText({"b", "B", "Sum", "Dev", {"one two", "three"}}, {{"Version", "1"}}, 5),
        "Package: b\nVersion: 1\nInstalled-Size: 5\nDescription: Sum\n one two\n .\n three\n");
}

}  // namespace
}  // namespace zolt
