// The feed generators: the PHP string literal, both snippet builders and the
// search keyword encoding. With ZOLT_SNIPPET_DIR set, every snippet is also
// written there with the values its PHP call must receive, for the php-check
// script to lint and run.

#include <QCryptographicHash>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "feeds/EbayFeedCode.h"
#include "feeds/EbaySiteTable.h"
#include "feeds/FeedSearchSources.h"
#include "feeds/NewsFeedCode.h"
#include "feeds/PhpString.h"
#include "fuzz/FuzzCheck.h"
#include "util/Text.h"

using namespace zolt;

namespace {

// PHP's reading of a double-quoted literal for the escapes PhpQuoted makes;
// any other backslash sequence in it is a finding, since PHP would give it
// a meaning of its own.
std::string PhpValue(const std::string& literal) {
    FUZZ_CHECK(literal.size() >= 2 && literal.front() == '"' && literal.back() == '"');
    std::string value;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        const char c = literal[i];
        FUZZ_CHECK(c != '"' && c != '$');
        if (c == '\\') {
            FUZZ_CHECK(i + 2 < literal.size());
            const char next = literal[++i];
            FUZZ_CHECK(next == '\\' || next == '"' || next == '$');
            value += next;
        } else {
            value += c;
        }
    }
    return value;
}

std::string UrlDecode(const std::string& encoded) {
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '+') {
            out += ' ';
        } else if (encoded[i] == '%') {
            FUZZ_CHECK(i + 2 < encoded.size());
            out += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += encoded[i];
        }
    }
    return out;
}

void CheckKeyword(const std::string& keyword) {
    const std::string encoded = EncodeSearchKeyword(keyword);
    for (const char c : encoded) {
        FUZZ_CHECK(std::strchr("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                               "-._~+%",
                               c) != nullptr &&
                   c != '\0');
    }
    FUZZ_CHECK(UrlDecode(encoded) == keyword);
}

int IntAt(const std::string& bytes, std::size_t at) {
    uint32_t v = 0;
    for (std::size_t k = 0; k < 4 && at + k < bytes.size(); ++k) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    }
    return static_cast<int>(v);
}

std::string Hex(const std::string& bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
    return out;
}

// "<name>.php" holds the snippet, "<name>.expect" the call it must make: the
// function name and then every argument as hex of PHP's string form.
void Dump(const std::string& snippet, const std::string& function,
          const std::vector<std::string>& args) {
    const char* dir = std::getenv("ZOLT_SNIPPET_DIR");
    if (dir == nullptr || *dir == '\0') {
        return;
    }
    const std::string name =
        QCryptographicHash::hash(QByteArray::fromStdString(snippet), QCryptographicHash::Sha1)
            .toHex()
            .toStdString();
    std::ofstream(std::string(dir) + "/" + name + ".php", std::ios::binary) << snippet;
    std::ofstream expect(std::string(dir) + "/" + name + ".expect", std::ios::binary);
    expect << function << "\n";
    for (const std::string& arg : args) {
        expect << Hex(arg) << "\n";
    }
}

void CheckSnippetFrame(const std::string& snippet, const std::string& call) {
    const std::string head = "<?php\r\ninclude_once \"feedreader.php\";\r\n" + call + "(";
    FUZZ_CHECK(snippet.compare(0, head.size(), head) == 0);
    const std::string tail = ");\r\n?>\r\n";
    FUZZ_CHECK(snippet.size() > head.size() + tail.size());
    FUZZ_CHECK(snippet.compare(snippet.size() - tail.size(), tail.size(), tail) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string rest = fuzz::Bytes(data, size);
    const std::string numbers = rest.substr(0, 9);
    rest.erase(0, numbers.size());
    const unsigned char flags = numbers.empty() ? 0 : static_cast<unsigned char>(numbers[0]);
    const int first = IntAt(numbers, 1);
    const int second = IntAt(numbers, 5);

    const std::string feed = fuzz::TakeUntilNul(rest);
    const std::string campaign = fuzz::TakeUntilNul(rest);
    const std::string mainKeyword = fuzz::TakeUntilNul(rest);
    const std::string alternative = fuzz::TakeUntilNul(rest);
    const std::string keyword = rest;

    for (const std::string* text : {&feed, &campaign, &mainKeyword, &alternative, &keyword}) {
        FUZZ_CHECK(PhpValue(PhpQuoted(*text)) == *text);
        CheckKeyword(*text);
    }

    const bool titles = (flags & 1) != 0;
    const FeedOutcome news = NewsFeedCode(feed, first, titles, second);
    FUZZ_CHECK(news.ok() ? !news.value().empty() : !news.error().empty());
    if (news.ok()) {
        CheckSnippetFrame(news.value(), "getnewsfeed");
        Dump(news.value(), "getnewsfeed",
             {Trim(feed), std::to_string(first), titles ? "1" : "0", std::to_string(second)});
    }

    // The site id comes from the site list, never from typing.
    EbayFeedFields fields;
    fields.campaignId = campaign;
    fields.siteId = EbaySiteTable[(flags >> 1) % EbaySiteTable.size()].id;
    fields.mainKeyword = mainKeyword;
    fields.alternativeKeyword = alternative;
    fields.cacheTime = first;
    fields.numAuctions = second;
    const FeedOutcome ebay = EbayFeedCode(fields);
    FUZZ_CHECK(ebay.ok() ? !ebay.value().empty() : !ebay.error().empty());
    if (ebay.ok()) {
        CheckSnippetFrame(ebay.value(), "getebayfeed");
        Dump(ebay.value(), "getebayfeed",
             {Trim(campaign), fields.siteId, Trim(mainKeyword), Trim(alternative),
              std::to_string(first), std::to_string(second)});
    }

    // Row numbers around the table, the ones outside included.
    const int row = static_cast<int>(flags % 5) - 1;
    const FeedOutcome found = FindRssFeed(row, keyword);
    if (found.ok()) {
        const std::optional<std::string> address = SearchFeedAddress(row, Trim(keyword));
        FUZZ_CHECK(address.has_value() == (row >= 0 && row < 3));
        FUZZ_CHECK(found.value() == address.value_or(""));
    }
    return 0;
}
