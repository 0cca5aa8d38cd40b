#include "util/HtmlShape.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zolt {
namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

std::string NestedTables(int depth) {
    return Repeat("<table><tr><td>", depth) + "x" + Repeat("</td></tr></table>", depth);
}

TEST(HtmlShape, MeasuresNestingAsAForgivingParserReadsIt) {
    struct Row {
        const char* name;
        std::string html;
        int tables;
        int elements;
    } rows[] = {
        {"plain text", "just text", 0, 0},
        {"closed elements", "<div><p>a</p><p>b</p></div>", 0, 2},
        {"void and self-closed", "<p>a<br>b<img src=x><hr/><span/>c</p>", 0, 2},
        {"unclosed paragraphs are siblings", Repeat("<p>text", 500), 0, 1},
        {"unclosed cells and rows", "<table>" + Repeat("<tr><td>a<td>b", 300) + "</table>", 1, 3},
        {"list items", "<ul>" + Repeat("<li>a", 300) + "</ul>", 0, 2},
        {"stray end tags", Repeat("</div>", 1000) + "<b>x</b>", 0, 1},
        {"end tag closes what it encloses", "<div><b><i>x</div><div>y</div>", 0, 3},
        {"markup in comments, quotes and scripts",
         "<!-- <div><div> --><a title='<div>' href=\"<table>\">x</a>"
         "<script>if (a<b) document.write('<table><table>')</script>",
         0, 1},
        {"nested tables", NestedTables(9), 9, 27},
        {"deep divs", Repeat("<div>", 101), 0, 101},
        {"upper-case tags", "<TABLE><TR><TD><Table></table></TD></TR></TABLE>", 2, 4},
    };
    for (const Row& row : rows) {
        const HtmlShape shape = MeasureHtml(row.html);
        EXPECT_EQ(shape.tableDepth, row.tables) << row.name;
        EXPECT_EQ(shape.elementDepth, row.elements) << row.name;
    }
}

TEST(HtmlShape, PagesBeyondTheLimitsAreRefused) {
    EXPECT_TRUE(IsHtmlSafeToLayOut(NestedTables(kMaxHtmlTableDepth)));
    EXPECT_FALSE(IsHtmlSafeToLayOut(NestedTables(kMaxHtmlTableDepth + 1)));
    EXPECT_TRUE(IsHtmlSafeToLayOut(Repeat("<div>", kMaxHtmlElementDepth)));
    EXPECT_FALSE(IsHtmlSafeToLayOut(Repeat("<div>", kMaxHtmlElementDepth + 1)));
    const std::string words =
        Repeat("word ", kMaxHtmlPageBytes / 5 + 1).substr(0, kMaxHtmlPageBytes);
    EXPECT_TRUE(IsHtmlSafeToLayOut(words));
    EXPECT_FALSE(IsHtmlSafeToLayOut(words + "w"));
    // One word costs more than words of its size, also across inline tags.
    EXPECT_FALSE(IsHtmlSafeToLayOut(std::string(kMaxHtmlPageBytes * 3 / 4, 'a')));
    EXPECT_FALSE(IsHtmlSafeToLayOut(Repeat("<b>aaaaaaaaaaaaa</b>", kMaxHtmlPageBytes / 32)));
    EXPECT_TRUE(IsHtmlSafeToLayOut(Repeat("<p>aaaaaaaaaaaaa</p>", kMaxHtmlPageBytes / 32)));
    // Tables within the depth limit, but so many that laying them out takes
    // longer than a page of the largest size.
    EXPECT_TRUE(IsHtmlSafeToLayOut(Repeat(NestedTables(kMaxHtmlTableDepth), 100)));
    EXPECT_FALSE(IsHtmlSafeToLayOut(Repeat(NestedTables(kMaxHtmlTableDepth), 400)));
    EXPECT_LT(Repeat(NestedTables(kMaxHtmlTableDepth), 400).size(), kMaxHtmlPageBytes / 10);
}

TEST(HtmlShape, PlainTextKeepsTheWordsAndLosesTheMarkup) {
    EXPECT_EQ(HtmlPlainText("<h1>News</h1><p>Tom &amp; Jerry&#33; &lt;3 &#x263A;</p>"
                            "<script>alert(1)</script><style>p{}</style><p>caf\xE9</p>"),
              "News\nTom & Jerry! <3 \xE2\x98\xBA\ncaf\xC3\xA9");
    EXPECT_EQ(HtmlPlainText(NestedTables(3) + "  tail &bogus; &#xFFFFFFFF;"),
              "x\ntail &bogus; \xEF\xBF\xBD");
    EXPECT_EQ(HtmlPlainText("a<!-- <p>not shown</p> -->b &#X41;&#x42;"), "ab AB");
}

}  // namespace
}  // namespace zolt
