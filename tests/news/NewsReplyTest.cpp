#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "news/NewsClient.h"
#include "news/NewsReply.h"
#include "news/NewsTitle.h"

namespace zolt {
namespace {

const std::string S = "\xAF";  // record separator

TEST(NewsReply, SuccessOnlyWhereTheMarkerBelongs) {
    struct Row {
        std::string reply;
        NewsReplyKind kind;
        bool success;
    } rows[] = {
        {"OK", NewsReplyKind::All, true},
        {"OK", NewsReplyKind::LastCode, true},
        {"OK", NewsReplyKind::Details, true},
        {"1^a^d" + S + "OK", NewsReplyKind::All, true},
        {"1^a^d" + S + "2^b^e" + S + "OK", NewsReplyKind::All, true},
        {"7^Title" + S + "OK", NewsReplyKind::LastCode, true},
        {"$3Cp$3E" + S + "OK", NewsReplyKind::Details, true},
        // The letters alone, anywhere else, are no success.
        {"<html>TOKEN expired</html>", NewsReplyKind::All, false},
        {"<html>TOKEN expired</html>", NewsReplyKind::LastCode, false},
        {"<html>TOKEN expired</html>", NewsReplyKind::Details, false},
        {"OK" + S + "1^a^d", NewsReplyKind::All, false},
        {"1^a^dOK", NewsReplyKind::All, false},
        {"7^TitleOK", NewsReplyKind::LastCode, false},
        {"ok", NewsReplyKind::All, false},
        {"OKAY", NewsReplyKind::LastCode, false},
        {"", NewsReplyKind::All, false},
        {"INVALIDUSER", NewsReplyKind::All, false},
        {S + "OK", NewsReplyKind::Details, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsNewsSuccess(row.reply, row.kind), row.success)
            << row.reply << " kind " << static_cast<int>(row.kind);
    }
}

TEST(NewsReply, AllReplyGivesTheLinesInOrderWithoutEmptiesOrMarker) {
    struct Row {
        std::string reply;
        std::vector<std::string> lines;
    } rows[] = {
        {"OK", {}},
        {"2^Second^2026-01-01" + S + "1^First^2026-12-08" + S + "OK",
         {"2^Second^2026-01-01", "1^First^2026-12-08"}},
        {"1^a^d" + S + S + "2^b^e" + S + "OK", {"1^a^d", "2^b^e"}},
        // Title and date stay as received, blanks included.
        {"3^ t ^ d " + S + "OK", {"3^ t ^ d "}},
        // A line whose id is not a number is dropped, the others stay.
        {" 3 ^t^d" + S + "x^t^d" + S + "^t^d" + S + "5<%%/LastNewsId%%><%%Welcome1%%>^t^d" + S +
             "1234567890123456789^t^d" + S + "4^t^d" + S + "OK",
         {"4^t^d"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseAllNewsReply(row.reply), row.lines) << row.reply;
    }
}

TEST(NewsReply, LastCodeReplyGivesIdAndTitleMissingFieldsEmpty) {
    struct Row {
        std::string reply;
        std::string id;
        std::string title;
    } rows[] = {
        {"OK", "", ""},
        {"17^Big news" + S + "OK", "17", "Big news"},
        {"17" + S + "OK", "17", ""},
        {S + "OK", "", ""},
        {"17^t^extra" + S + "OK", "17", "t"},
        {"^t" + S + "OK", "", ""},
        {"x1^t" + S + "OK", "", ""},
    };
    for (const Row& row : rows) {
        const LatestNews latest = ParseLastCodeReply(row.reply);
        EXPECT_EQ(latest.id ? latest.id->text() : "", row.id) << row.reply;
        EXPECT_EQ(latest.title, row.title) << row.reply;
    }
}

TEST(NewsReply, DetailsReplyIsDecodedWithoutTheMarker) {
    EXPECT_EQ(ParseDetailsReply("$3Cp$3EHi$20all$3C$2Fp$3E" + S + "OK"), "<p>Hi all</p>");
    EXPECT_EQ(ParseDetailsReply("BOOK" + S + "OK"), "BOOK");
    // A bad escape empties the page.
    EXPECT_EQ(ParseDetailsReply("$G1" + S + "OK"), "");
}

TEST(NewsReply, FailureMessagesByWordAndRequest) {
    using K = NewsReplyKind;
    struct Row {
        std::string reply;
        std::string all;
        std::string details;
    } rows[] = {
        {"", kNewsAccessFailedMessage, kNewsAccessFailedMessage},
        {"CONNECTIONFAIL", kNewsConnectionFailMessage, kNewsConnectionFailMessage},
        {"INVALIDUSER", kNewsInvalidUserMessage, kNewsInvalidUserMessage},
        {"INVALIDPRODUCT", kNewsInvalidProductMessage, kNewsInvalidProductMessage},
        {"INVALIDNEWS", "", kNewsInvalidNewsMessage},
        {"invaliduser", "", ""},
        {"INVALIDUSER!", "", ""},
        {"<html>error</html>", "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NewsFailureMessage(row.reply, K::All), row.all) << row.reply;
        EXPECT_EQ(NewsFailureMessage(row.reply, K::Details), row.details) << row.reply;
        EXPECT_EQ(NewsFailureMessage(row.reply, K::LastCode), "") << row.reply;
    }
}

TEST(NewsReply, ScriptAddressAndLevelCodes) {
    EXPECT_EQ(NewsScriptUrl("http://h/news/", kLastNewsScript), "http://h/news/getlastnews.php");
    EXPECT_EQ(NewsScriptUrl("http://h/news", kLastNewsScript), "http://h/news/getlastnews.php");
    EXPECT_EQ(NewsScriptUrl("", kNewsDetailsScript), "/getnewsdetails.php");

    struct Row {
        std::string type;
        std::string code;
    } rows[] = {{"Master", "BM"}, {"Platinum", "BP"}, {"Gold", "BG"}, {"Free", ""},
                {"gold", ""},     {"GOLD", ""},       {"", ""},       {" Gold", ""}};
    for (const Row& row : rows) {
        BrandSettingsRecord brand;
        brand.BranderType = row.type;
        EXPECT_EQ(NewsChannel(brand).levelCode, row.code) << row.type;
    }
}

TEST(NewsTitle, ReferencesOfTheSeparatorsLettersOnlyAndNothingInvisible) {
    struct Row {
        std::string wire, shown;
    } rows[] = {
        {"&#1071; &#26159; &#1711; &#175;", "Я 是 گ ¯"},
        // Text that the server escaped, and references it never writes, stay text.
        {"&#38;#1071; &#38;#38; Tom & Jerry", "&#1071; &#38; Tom & Jerry"},
        {"&#65; &#1070; &#00001071; &#1071 &#; &#x42F; &#55343;",
         "&#65; &#1070; &#00001071; &#1071 &#; &#x42F; &#55343;"},
        {"&&#1071;&#0001071;", "&ЯЯ"},
        // A title that is no UTF-8 is Windows-1252 text, references and all.
        {"caf\xE9 &#1071;", "café &#1071;"},
        // Nothing reorders, hides or breaks the line; Persian keeps its non-joiner.
        {"a\u202Eb\u2066c\u200Bd\uFEFFe\u00ADf", "abcdef"},
        {"a\tb\u2028c\u2029d\u0085e\x7F", "a b c d e "},
        {"\xC2\x9B[2J", " [2J"},
        {"\xD9\x85\xDB\x8C\u200C\xD8\xAE", "\xD9\x85\xDB\x8C\u200C\xD8\xAE"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NewsTitleText(row.wire), row.shown) << row.wire;
    }
    // A date carries no references.
    EXPECT_EQ(NewsLineText("&#1071;\u202E1"), "&#1071;1");
}

}  // namespace
}  // namespace zolt
