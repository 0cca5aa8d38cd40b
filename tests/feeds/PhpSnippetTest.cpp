// The generated snippets run in the real PHP interpreter beside a stand-in
// "feedreader.php" that reports what each call received.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "feeds/EbayFeedCode.h"
#include "feeds/EbaySiteTable.h"
#include "feeds/NewsFeedCode.h"
#include "tests/support/PhpServer.h"
#include "tests/support/TempDir.h"

namespace zolt {
namespace {

// Strings travel as hex so that every byte is compared, whatever its encoding.
constexpr const char* kFeedReaderStub = R"php(<?php
function zolt_report($function, $args) {
    $out = [];
    foreach ($args as $a) {
        $out[] = is_string($a) ? ['string', bin2hex($a)] : [gettype($a), $a];
    }
    echo json_encode(['function' => $function, 'args' => $out], JSON_THROW_ON_ERROR);
}
function getnewsfeed(...$args) { zolt_report('getnewsfeed', $args); }
function getebayfeed(...$args) { zolt_report('getebayfeed', $args); }
)php";

using Arg = std::variant<std::string, long long>;

struct Call {
    std::string function;
    std::vector<Arg> args;
};

std::string Printable(const Arg& a) {
    if (const auto* s = std::get_if<std::string>(&a)) {
        return "\"" + *s + "\"";
    }
    return std::to_string(std::get<long long>(a));
}

// Writes `snippet` beside the stub, checks its syntax and runs it; fails the
// test unless PHP printed exactly one report.
Call RunSnippet(const std::string& snippet) {
    test::TempDir dir;
    dir.write("feedreader.php", kFeedReaderStub);
    dir.write("page.php", snippet);
    std::string out;
    EXPECT_EQ(test::RunPhp({"-l", QString::fromStdString(dir.file("page.php"))}, &out), 0)
        << out << "\n"
        << snippet;
    const int rc =
        test::RunPhp({"-n", "-d", "display_errors=1", "-d", "error_reporting=-1", "page.php"}, &out,
                     "", dir.path());
    EXPECT_EQ(rc, 0) << out;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << "PHP printed: " << out;
    Call call;
    call.function = doc.object().value("function").toString().toStdString();
    for (const QJsonValue& v : doc.object().value("args").toArray()) {
        const QJsonArray pair = v.toArray();
        const QString type = pair.at(0).toString();
        if (type == "string") {
            call.args.emplace_back(
                QByteArray::fromHex(pair.at(1).toString().toLatin1()).toStdString());
        } else {
            EXPECT_EQ(type, "integer") << out;
            call.args.emplace_back(static_cast<long long>(pair.at(1).toDouble()));
        }
    }
    return call;
}

void ExpectCall(const Call& call, const std::string& function, const std::vector<Arg>& args) {
    EXPECT_EQ(call.function, function);
    ASSERT_EQ(call.args.size(), args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        EXPECT_EQ(call.args[i], args[i]) << "argument " << i << ": got " << Printable(call.args[i])
                                         << ", want " << Printable(args[i]);
    }
}

// Texts that PHP would otherwise end, interpolate or run.
const std::string kAwkward[] = {
    "say \"hi\"",
    "$x",
    "$$x and $",
    "{$x}",
    "${system('id')}",
    "{${phpinfo()}}",
    "C:\\dir\\",
    "\\",
    "\\\"",
    "\\$x",
    "\\n\\t\\x41\\101\\u{41}",
    "tab\tinside",
    "caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC",
    "caf\xE9",
    "?> <?php echo 1; ?>",
    "'single' `id` %s %d",
    "http://a.example/rss?x=1&y=2#top",
    "a\x7F"
    "b",
};

struct Numbers {
    int cache;
    bool titles;
    int items;
};

const Numbers kNumbers[] = {
    {120, true, 10},
    {0, false, 0},
    {-5, true, 10000},
    {2147483647, false, 1},
    {-2147483647 - 1, true, 7},
};

class PhpSnippet : public ::testing::Test {
  protected:
    void SetUp() override {
        if (test::PhpBinary().empty()) {
            FAIL() << "php-cli is missing (scripts/deps installs it)";
        }
    }
};

TEST_F(PhpSnippet, NewsCallReceivesTheTrimmedAddressAndTheNumbers) {
    size_t n = 0;
    for (const std::string& text : kAwkward) {
        SCOPED_TRACE(text);
        const Numbers& num = kNumbers[n++ % std::size(kNumbers)];
        const FeedOutcome outcome =
            NewsFeedCode(" \t " + text + "\t \r\n", num.cache, num.titles, num.items);
        ASSERT_TRUE(outcome.ok());
        ExpectCall(RunSnippet(outcome.value()), "getnewsfeed",
                   {text, num.cache, num.titles ? 1 : 0, num.items});
    }
}

TEST_F(PhpSnippet, EbayCallReceivesTheTrimmedTextsSiteAndNumbers) {
    size_t n = 0;
    for (const std::string& text : kAwkward) {
        SCOPED_TRACE(text);
        const Numbers& num = kNumbers[n % std::size(kNumbers)];
        const EbaySite& site = EbaySiteTable[n % EbaySiteTable.size()];
        ++n;
        EbayFeedFields fields{"\t" + text + " ", site.id,   "  main " + text,
                              text + " alt\t",   num.cache, num.items};
        const FeedOutcome outcome = EbayFeedCode(fields);
        ASSERT_TRUE(outcome.ok());
        ExpectCall(
            RunSnippet(outcome.value()), "getebayfeed",
            {text, std::stoll(site.id), "main " + text, text + " alt", num.cache, num.items});
    }
}

// The check above must be able to see the faults that the escaping mends.
TEST_F(PhpSnippet, UnescapedTextWouldBeCaught) {
    const std::string head = "<?php\r\ninclude_once \"feedreader.php\";\r\n";
    std::string out;
    test::TempDir dir;
    dir.write("feedreader.php", kFeedReaderStub);
    dir.write("quote.php", head + "getnewsfeed(\"say \"hi\"\",1,1,1);\r\n?>\r\n");
    EXPECT_NE(test::RunPhp({"-l", QString::fromStdString(dir.file("quote.php"))}, &out), 0);
    dir.write("dollar.php", head + "getnewsfeed(\"{$x}\",1,1,1);\r\n?>\r\n");
    test::RunPhp({"-n", "-d", "display_errors=1", "-d", "error_reporting=-1", "dollar.php"}, &out,
                 "", dir.path());
    EXPECT_NE(out.find("Undefined variable"), std::string::npos) << out;
}

}  // namespace
}  // namespace zolt
