#include "util/HtmlShape.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <map>
#include <string>

#include <gtest/gtest.h>

namespace zolt {
namespace {

// "{{N*TEXT}}" written out, innermost first (tests/data/htmlshape/README.md).
std::string Expand(std::string text) {
    for (size_t close = text.find("}}"); close != std::string::npos; close = text.find("}}")) {
        const size_t open = text.rfind("{{", close);
        const size_t star = text.find('*', open);
        const std::string piece = text.substr(star + 1, close - star - 1);
        std::string repeated;
        for (long i = std::stol(text.substr(open + 2, star - open - 2)); i > 0; --i) {
            repeated += piece;
        }
        text.replace(open, close + 2 - open, repeated);
    }
    return text;
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

// The page rule's cases, shared with the admin site's tests.
TEST(HtmlShape, EveryCaseOfThePageRule) {
    const QDir dir(QString::fromStdString(std::getenv("ZOLT_SOURCE_DIR")) +
                   "/tests/data/htmlshape");
    const QStringList cases = dir.entryList({"*.expect"});
    ASSERT_GT(cases.size(), 40);
    for (const QString& file : cases) {
        const QString name = file.chopped(7);
        const std::string html = Expand(ReadFile(dir.filePath(name + ".html")));
        std::map<std::string, std::string> expect;
        for (const QString& line :
             QString::fromStdString(ReadFile(dir.filePath(file))).split('\n')) {
            const qsizetype colon = line.indexOf(": ");
            if (colon > 0) {
                expect[line.left(colon).toStdString()] = Expand(line.mid(colon + 2).toStdString());
            }
        }
        const HtmlPage page = RewriteHtml(html);
        const std::map<std::string, std::string> got = {
            {"tables", std::to_string(page.shape.tableDepth)},
            {"elements", std::to_string(page.shape.elementDepth)},
            {"work", std::to_string(page.shape.layoutWork)},
            {"run", std::to_string(page.shape.longestRun)},
            {"safe", IsHtmlSafeToLayOut(html) ? "yes" : "no"},
            {"page", page.html},
            {"text", HtmlPlainText(html)},
        };
        for (const auto& [key, value] : expect) {
            ASSERT_TRUE(got.count(key)) << name.toStdString() << ": unknown key " << key;
            EXPECT_TRUE(got.at(key) == value)
                << name.toStdString() << ": " << key << " is " << got.at(key).substr(0, 300);
        }
        // What the view gets reads back as itself.
        if (IsHtmlWithinLimits(page.shape, html.size())) {
            const HtmlPage again = RewriteHtml(page.html);
            EXPECT_TRUE(again.html == page.html) << name.toStdString();
            EXPECT_EQ(again.shape, page.shape) << name.toStdString();
        }
    }
}

TEST(HtmlShape, PlainTextKeepsTheWordsAndLosesTheMarkup) {
    EXPECT_EQ(HtmlPlainText("<h1>News</h1><p>Tom &amp; Jerry&#33; &lt;3 &#x263A;</p>"
                            "<script>alert(1)</script><style>p{}</style><p>caf\xE9</p>"),
              "News\nTom & Jerry! <3 \xE2\x98\xBA\ncaf\xC3\xA9");
    EXPECT_EQ(HtmlPlainText("<table><tr><td>x</td></tr></table>  tail &bogus; &#xFFFFFFFF;"),
              "x\ntail &bogus; \xEF\xBF\xBD");
    EXPECT_EQ(HtmlPlainText("a<!-- <p>not shown</p> -->b &#X41;&#x42;"), "ab AB");
}

}  // namespace
}  // namespace zolt
