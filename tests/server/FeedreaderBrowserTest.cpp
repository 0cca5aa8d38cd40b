// The tool's snippets in a real browser: PHP's web server runs browser/page.html with generated
// snippets beside feedreader.php, headless Chromium loads it, and its final DOM must show the
// feeds' items while nothing that a hostile feed brought along has run.
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "feeds/EbayFeedCode.h"
#include "feeds/NewsFeedCode.h"
#include "tests/support/PhpServer.h"
#include "tests/support/TempDir.h"

namespace zolt {
namespace {

using Links = std::vector<std::pair<std::string, std::string>>;

// The DOM after loading `url` and running its timers, or nothing when Chromium did not run.
std::optional<std::string> DumpDom(const QString& chromium, const std::string& url) {
    test::TempDir profile;
    QProcess p;
    p.start(chromium,
            {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + QString::fromStdString(profile.path()),
             "--virtual-time-budget=3000", "--dump-dom", QString::fromStdString(url)});
    if (!p.waitForFinished(90000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished();
        return std::nullopt;
    }
    return p.readAllStandardOutput().toStdString();
}

// The list in <div id="ID"> and its links as (href, text).
Links ListLinks(const std::string& dom, const std::string& id, std::string* list) {
    const size_t start = dom.find("<div id=\"" + id + "\">");
    *list = dom.substr(start, dom.find("</div>\n</div>", start) - start);  // throws when missing
    static const QRegularExpression anchor(
        "<a class=\"feedreader-link\" href=\"([^\"]*)\"[^>]*>([^<]*)</a>");
    Links links;
    for (const auto& m : anchor.globalMatch(QString::fromStdString(*list))) {
        links.emplace_back(m.captured(1).toStdString(), m.captured(2).toStdString());
    }
    return links;
}

TEST(FeedreaderInBrowser, ShowsTheItemsAndRunsNothingOfAHostileFeed) {
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty() || !DumpDom(chromium, "data:text/html,<p>up</p>")) {
        GTEST_SKIP() << "Chromium cannot start here (scripts/deps installs the chromium package)";
    }
    const std::string fixtures = test::SourceDir() + "/tests/server/browser/";
    test::PhpServer feedSite(fixtures);
    test::TempDir site;
    site.write("feedreader.php",
               test::ReadFileBytes(test::SourceDir() + "/server/feedreader/feedreader.php"));
    std::string page = test::ReadFileBytes(fixtures + "page.html");
    const std::pair<std::string, std::string> snippets[] = {
        {"{news}", NewsFeedCode(feedSite.url("news.xml"), 0, true, 10).value()},
        {"{hostile}", NewsFeedCode(feedSite.url("hostile.xml"), 0, true, 10).value()},
        {"{ebay}", EbayFeedCode({"5338000004", "3", "camera", "lens", 0, 10}).value()}};
    for (const auto& [name, snippet] : snippets) {
        page.replace(page.find(name), name.size(), snippet);
    }
    site.write("page.php", page);
    test::PhpServer web(site.path());
    const std::optional<std::string> dom = DumpDom(chromium, web.url("page.php"));
    ASSERT_TRUE(dom.has_value()) << web.log();

    std::string news, hostile, ebay;
    const Links want{{feedSite.url(), "Browser news"},
                     {feedSite.url("story/1"), "Café opens"},
                     {"http://example.com/2?a=1&amp;b=2", "Second &amp; last"}};
    EXPECT_EQ(ListLinks(*dom, "news", &news), want) << news;
    EXPECT_NE(news.find("A new place…"), std::string::npos) << news;
    EXPECT_EQ(ListLinks(*dom, "hostile", &hostile).size(), 1u) << hostile;
    for (const char* text : {"Image trap", "Shown text", "Quote trap", "Broken image"}) {
        EXPECT_NE(hostile.find(text), std::string::npos) << text << " in " << hostile;
    }
    const Links shop = ListLinks(*dom, "ebay", &ebay);
    ASSERT_EQ(shop.size(), 2u) << ebay;
    EXPECT_NE(shop[0].first.find("www.ebay.co.uk/sch/i.html?_nkw=camera&amp;"), std::string::npos);
    EXPECT_NE(shop[1].first.find("campid=5338000004"), std::string::npos);

    EXPECT_NE(dom->find("<title>Feed page</title>"), std::string::npos) << "title changed";
    EXPECT_EQ(dom->find("<owned"), std::string::npos) << "a feed's script or handler ran";
    EXPECT_NE(dom->find("<p id=\"audit\">6 links, 0 unsafe</p>"), std::string::npos) << *dom;
}

}  // namespace
}  // namespace zolt
