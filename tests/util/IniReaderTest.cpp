#include <string>

#include <gtest/gtest.h>

#include "util/IniReader.h"

namespace zolt {
namespace {

TEST(IniReader, FindsKeysOfASectionWhateverTheLetterCase) {
    const IniReader ini(
        "; update description\r\n"
        "[Other]\r\n"
        "Version=9.99\r\n"
        "\r\n"
        "[APPLICATION]\r\n"
        "Name = RSS Feed Zolt \r\n"
        "  version=2.02\r\n"
        "Quoted=\"  spaced  \"\r\n"
        "Empty=\r\n"
        "# a comment=not a key\r\n"
        "Eq=a=b\r\n");
    struct Row {
        std::string section, key, value;
    } rows[] = {
        {"APPLICATION", "Version", "2.02"},
        {"application", "VERSION", "2.02"},
        {"Application", "name", "RSS Feed Zolt"},
        {"APPLICATION", "Quoted", "  spaced  "},
        {"APPLICATION", "Empty", ""},
        {"APPLICATION", "Eq", "a=b"},
        {"APPLICATION", "Missing", ""},
        {"APPLICATION", "# a comment", ""},
        {"OTHER", "version", "9.99"},
        {"Nowhere", "Version", ""},
        {"APPLICATIO", "Version", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ini.ReadString(row.section, row.key), row.value) << row.section << "/" << row.key;
    }
    EXPECT_EQ(ini.ReadString("APPLICATION", "Missing", "fallback"), "fallback");
}

TEST(IniReader, LineEndingsMarkAndRepeatedSections) {
    struct Row {
        std::string text, value;
    } rows[] = {
        {"[APPLICATION]\nVersion=3\n", "3"},
        {"[APPLICATION]\rVersion=3", "3"},
        {"\xEF\xBB\xBF[APPLICATION]\r\nVersion=3\r\n", "3"},
        {"Version=1\r\n[APPLICATION]\r\nVersion=3", "3"},
        {"[ APPLICATION ]\r\nVersion=3", "3"},
        // The first section of a name holds its keys.
        {"[APPLICATION]\r\nName=x\r\n[APPLICATION]\r\nVersion=3", ""},
        {"[APPLICATION]\r\nVersion=3\r\nVersion=4", "3"},
        {"", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IniReader(row.text).ReadString("Application", "version"), row.value) << row.text;
    }
}

}  // namespace
}  // namespace zolt
