#include "util/Text.h"

#include <gtest/gtest.h>

namespace zolt {
namespace {

TEST(ToQString, Utf8IsReadAsUtf8) {
    EXPECT_EQ(ToQString("caf\xC3\xA9"), QString::fromUtf8("café"));
    EXPECT_EQ(ToQString("\xE2\x82\xAC"), QString(QChar(0x20AC)));
    EXPECT_EQ(ToQString(""), QString());
}

TEST(ToQString, AnythingElseIsWindows1252) {
    EXPECT_EQ(ToQString("caf\xE9"), QString::fromUtf8("café"));
    EXPECT_EQ(ToQString("\x80 \x99"), QString::fromUtf8("€ ™"));
    EXPECT_EQ(ToQString("\x81"), QString(QChar(0x81)));
    // Overlong and surrogate encodings are not UTF-8.
    EXPECT_EQ(ToQString("\xC0\xAF"), QString::fromUtf8("À¯"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(FromQString, RoundTripsUtf8) {
    const std::string bytes = "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC";
    EXPECT_EQ(FromQString(ToQString(bytes)), bytes);
}

TEST(Trim, RemovesControlsAndBlanksAtBothEnds) {
    EXPECT_EQ(Trim(" \t\r\n a b \x01\x1F "), "a b");
    EXPECT_EQ(Trim("\t\t"), "");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(FindNoCase, FoldsAsciiLettersOnly) {
    struct Row {
        std::string haystack, needle;
        std::size_t from, at;
    } rows[] = {
        {"<%%Welcome1%%>", "<%%welcome1%%>", 0, 0},
        {"xx<%%TAG%%>yy<%%tag%%>", "<%%Tag%%>", 3, 13},
        {"aAaAb", "AB", 0, 3},
        {"aaaa", "aab", 0, std::string::npos},
        {"Caf\xC9 caf\xE9", "CAF\xE9", 0, 5},
        {"abc", "", 2, 2},
        {"abc", "c", 3, std::string::npos},
        {"abc", "abcd", 0, std::string::npos},
        {"zzzzZ", "Z", 1, 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FindNoCase(row.haystack, row.needle, row.from), row.at) << row.haystack;
    }
}

}  // namespace
}  // namespace zolt
