#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

#include "feeds/EbayFeedCode.h"
#include "feeds/EbaySiteTable.h"
#include "feeds/FeedSearchSources.h"
#include "feeds/NewsFeedCode.h"
#include "feeds/PhpString.h"
#include "tests/support/PhpServer.h"
#include "tests/support/TempDir.h"

namespace zolt {
namespace {

std::string NewsLine3(const std::string& code) {
    const std::string head = "<?php\r\ninclude_once \"feedreader.php\";\r\n";
    const std::string tail = "\r\n?>\r\n";
    EXPECT_EQ(code.substr(0, head.size()), head);
    EXPECT_GE(code.size(), head.size() + tail.size());
    EXPECT_EQ(code.substr(code.size() - tail.size()), tail);
    return code.substr(head.size(), code.size() - head.size() - tail.size());
}

struct AddressRow {
    int source;
    std::string keyword;
    std::string address;
};

TEST(FindRssFeed, ComposesTheSearchAddressOfEachService) {
    const AddressRow rows[] = {
        {0, "  red car  ",
         "http://news.google.com/news?pz=1&cf=all&ned=es_us&hl=en&q=red+car&cf=all&output=rss"},
        {1, "red car", "http://news.search.yahoo.com/news/rss?p=red+car&ei=UTF-8&fl=0&x=wrt"},
        {2, "red car", "http://newsapi.bbc.co.uk/feeds/search/news+sport/red+car"},
        {2, "\t\tred car\t", "http://newsapi.bbc.co.uk/feeds/search/news+sport/red+car"},
        {0, "Obama2012",
         "http://news.google.com/news?pz=1&cf=all&ned=es_us&hl=en&q=Obama2012&cf=all&output=rss"},
        {1, "a  b", "http://news.search.yahoo.com/news/rss?p=a++b&ei=UTF-8&fl=0&x=wrt"},
    };
    for (const AddressRow& row : rows) {
        SCOPED_TRACE(row.keyword);
        const FeedOutcome outcome = FindRssFeed(row.source, row.keyword);
        EXPECT_TRUE(outcome.ok());
        EXPECT_EQ(outcome.value(), row.address);
    }
}

TEST(FindRssFeed, BlankKeywordWarnsAndNoChoiceDoesNothing) {
    for (const std::string blank : {"", " ", "\t \t", "\r\n"}) {
        const FeedOutcome outcome = FindRssFeed(0, blank);
        EXPECT_EQ(outcome.error(), "Please provide a valid Search Keyword.");
        EXPECT_FALSE(outcome.ok());
    }
    for (const int index : {-1, 3, 100}) {
        const FeedOutcome outcome = FindRssFeed(index, "cars");
        EXPECT_TRUE(outcome.ok());
        EXPECT_EQ(outcome.value(), "");
    }
}

TEST(EncodeSearchKeyword, KeepsUnreservedAndEncodesEveryOtherByte) {
    const std::pair<std::string, std::string> rows[] = {
        {"red car", "red+car"},
        {"AT&T", "AT%26T"},
        {"C#", "C%23"},
        {"100%", "100%25"},
        {"a+b", "a%2Bb"},
        {"what?", "what%3F"},
        {"a/b", "a%2Fb"},
        {"\"quoted\"", "%22quoted%22"},
        {"it's", "it%27s"},
        {"x=1;y", "x%3D1%3By"},
        {"tab\there", "tab%09here"},
        {"caf\xC3\xA9", "caf%C3%A9"},
        {"\xE2\x82\xAC", "%E2%82%AC"},
        {"\xFF", "%FF"},
        {"A-Z_a.z~09", "A-Z_a.z~09"},
        {"", ""},
    };
    for (const auto& [keyword, encoded] : rows) {
        EXPECT_EQ(EncodeSearchKeyword(keyword), encoded) << keyword;
    }
}

TEST(PhpQuoted, EscapesBackslashQuoteAndDollarOnly) {
    const std::pair<std::string, std::string> rows[] = {
        {"", "\"\""},
        {"plain text 123", "\"plain text 123\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"$x", "\"\\$x\""},
        {"{$x}", "\"{\\$x}\""},
        {"${system('id')}", "\"\\${system('id')}\""},
        {"C:\\dir\\", "\"C:\\\\dir\\\\\""},
        {"\\n", "\"\\\\n\""},
        {"tab\tin", "\"tab\tin\""},
        {"'single' `tick`", "\"'single' `tick`\""},
        {"caf\xC3\xA9", "\"caf\xC3\xA9\""},
    };
    for (const auto& [text, quoted] : rows) {
        EXPECT_EQ(PhpQuoted(text), quoted) << text;
    }
}

struct NewsRow {
    std::string feed;
    int cache;
    bool titles;
    int items;
    std::string line3;
};

TEST(NewsFeedCode, WritesTheFourLineSnippet) {
    const std::string feed = "http://example.com/rss.xml";
    EXPECT_EQ(NewsFeedCode(feed, 120, true, 10).value(),
              "<?php\r\ninclude_once \"feedreader.php\";\r\n"
              "getnewsfeed(\"http://example.com/rss.xml\",120,1,10);\r\n?>\r\n");

    const NewsRow rows[] = {
        {" \thttp://a/b?c=d&e \t", 120, true, 10, "getnewsfeed(\"http://a/b?c=d&e\",120,1,10);"},
        {"http://a", 0, false, 0, "getnewsfeed(\"http://a\",0,0,0);"},
        {"http://a", -5, true, 7, "getnewsfeed(\"http://a\",-5,1,7);"},
        {"http://a", 2147483647, true, 10000, "getnewsfeed(\"http://a\",2147483647,1,10000);"},
        {"http://a", -2147483647 - 1, true, 1, "getnewsfeed(\"http://a\",-2147483648,1,1);"},
        {"a b", 1, true, 1, "getnewsfeed(\"a b\",1,1,1);"},
        {"x\"y$z\\", 1, true, 1, "getnewsfeed(\"x\\\"y\\$z\\\\\",1,1,1);"},
    };
    for (const NewsRow& row : rows) {
        SCOPED_TRACE(row.feed);
        const FeedOutcome outcome = NewsFeedCode(row.feed, row.cache, row.titles, row.items);
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(NewsLine3(outcome.value()), row.line3);
    }
}

TEST(NewsFeedCode, BlankFeedAddressWarns) {
    for (const std::string blank : {"", "   ", "\t\t", " \t \x01"}) {
        const FeedOutcome outcome = NewsFeedCode(blank, 120, true, 10);
        EXPECT_EQ(outcome.error(), "Please provide a valid RSS Feed.");
        EXPECT_FALSE(outcome.ok());
    }
}

TEST(EbaySiteTable, EverySiteIsOneThatFeedreaderKnowsByTheSameName) {
    if (test::PhpBinary().empty()) {
        GTEST_SKIP() << "php is not installed";
    }
    std::string listing;
    ASSERT_EQ(test::RunPhp(
                  {"-r",
                   "require $argv[1]; foreach (Zolt\\Feedreader\\EBAY_SITES as $id => $s) "
                   "echo $id, \"\\t\", $s[0], \"\\n\";",
                   QString::fromStdString(test::SourceDir() + "/server/feedreader/feedreader.php")},
                  &listing),
              0);
    std::map<std::string, std::string> known;
    std::istringstream lines(listing);
    for (std::string id, name; std::getline(lines, id, '\t') && std::getline(lines, name);) {
        known[id] = name;
    }
    std::set<std::string> names;
    for (const EbaySite& site : EbaySiteTable) {
        EXPECT_EQ(known[site.id], site.name) << "site id " << site.id;
        EXPECT_TRUE(names.insert(site.name).second) << site.name;
    }
}

TEST(CheckEbayFeedFields, ChecksTheThreeFieldsInOrder) {
    struct Row {
        std::string campaign, main, alternative;
        std::string warning;  // "" when all three hold text
    };
    const Row rows[] = {
        {"", "", "", "Please provide a valid Ebay Campaign ID."},
        {" \t", "cam", "era", "Please provide a valid Ebay Campaign ID."},
        {"123", "", "", "Please provide a valid Main Keyword."},
        {"123", "\t", "x", "Please provide a valid Main Keyword."},
        {"123", "camera", "", "Please provide a valid Alternative Keyword."},
        {"123", "camera", "  ", "Please provide a valid Alternative Keyword."},
        {"123", "camera", "lens", ""},
    };
    for (const Row& row : rows) {
        const Status checked = CheckEbayFeedFields(row.campaign, row.main, row.alternative);
        EXPECT_EQ(checked.ok(), row.warning.empty());
        EXPECT_EQ(checked.error(), row.warning)
            << row.campaign << "|" << row.main << "|" << row.alternative;
        EbayFeedFields fields{row.campaign, "0", row.main, row.alternative, 120, 10};
        EXPECT_EQ(EbayFeedCode(fields).error(), row.warning);
    }
}

TEST(EbayFeedCode, WritesTheFourLineSnippet) {
    EbayFeedFields fields{"5335", "0", "digital camera", "camera", 120, 10};
    EXPECT_EQ(EbayFeedCode(fields).value(),
              "<?php\r\ninclude_once \"feedreader.php\";\r\n"
              "getebayfeed(\"5335\",0,\"digital camera\",\"camera\",120,10);\r\n?>\r\n");

    struct Row {
        EbayFeedFields fields;
        std::string line3;
    };
    const Row rows[] = {
        {{"  5335 ", "23", " digital camera\t", "\tlens  kit ", 120, 10},
         "getebayfeed(\"5335\",23,\"digital camera\",\"lens  kit\",120,10);"},
        {{"id", "2", "a", "b", -1, 10000}, "getebayfeed(\"id\",2,\"a\",\"b\",-1,10000);"},
        {{"id", "0", "a", "b", 0, 0}, "getebayfeed(\"id\",0,\"a\",\"b\",0,0);"},
        {{"i\"d", "0", "$a", "{$b}", 0, 0}, "getebayfeed(\"i\\\"d\",0,\"\\$a\",\"{\\$b}\",0,0);"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line3);
        const FeedOutcome outcome = EbayFeedCode(row.fields);
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(NewsLine3(outcome.value()), row.line3);
    }
}

}  // namespace
}  // namespace zolt
