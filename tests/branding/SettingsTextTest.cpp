#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "branding/AppVersion.h"
#include "branding/BrandSettingsText.h"
#include "branding/ExtractTagValue.h"
#include "branding/SettingsKeys.h"
#include "branding/SettingsText.h"

namespace zolt {
namespace {

struct ExtractCase {
    const char* what;
    std::string tag;
    std::string unread;
    std::string expectedValue;
    std::string expectedRest;
};

TEST(ExtractTagValue, ReadsOneElementAndMovesForward) {
    const std::vector<ExtractCase> cases = {
        {"found", "A", "x<%%A%%>val<%%/A%%>rest", "val", "<%%/A%%>rest"},
        {"tags in other case", "A", "<%%a%%>Val ue<%%/a%%>", "Val ue", "<%%/a%%>"},
        {"blanks and breaks kept", "A", "<%%A%%> v\r\n w <%%/A%%>", " v\r\n w ", "<%%/A%%>"},
        {"empty value", "A", "<%%A%%><%%/A%%>z", "", "<%%/A%%>z"},
        {"no opening tag", "A", "abc<%%/A%%>", "", "abc<%%/A%%>"},
        {"no closing tag", "A", "x<%%A%%>val<%%B%%>", "", "val<%%B%%>"},
        {"second opening inside", "A", "<%%A%%>1<%%A%%>2<%%/A%%>", "1<%%A%%>2", "<%%/A%%>"},
        {"first of two elements", "A", "<%%A%%>1<%%/A%%><%%A%%>2<%%/A%%>", "1",
         "<%%/A%%><%%A%%>2<%%/A%%>"},
        {"blank inside the tag", "A", "<%% A%%>v<%%/A%%>", "", "<%% A%%>v<%%/A%%>"},
        // Only ASCII letters fold; the legacy code page's upper half does not.
        {"no folding above ASCII", "\xE4", "<%%\xC4%%>v<%%/\xC4%%>", "", "<%%\xC4%%>v<%%/\xC4%%>"},
    };
    for (const auto& c : cases) {
        std::string unread = c.unread;
        EXPECT_EQ(ExtractTagValue(unread, SettingsTag{c.tag}), c.expectedValue) << c.what;
        EXPECT_EQ(unread, c.expectedRest) << c.what;
    }
}

TEST(ExtractTagValue, ElementBeforeOneReadEarlierIsMissed) {
    std::string unread = "<%%B%%>b<%%/B%%><%%A%%>a<%%/A%%><%%C%%>c<%%/C%%>";
    EXPECT_EQ(ExtractTagValue(unread, SettingsTag{"A"}), "a");
    EXPECT_EQ(ExtractTagValue(unread, SettingsTag{"B"}), "");
    // A missing element leaves the reader where it was.
    EXPECT_EQ(ExtractTagValue(unread, SettingsTag{"C"}), "c");
}

TEST(SettingsText, RebuildsEveryKindOfLineEndAsCrLf) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"a", "a\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\rb\nc", "a\r\nb\r\nc\r\n"},
        {"a\n\nb", "a\r\n\r\nb\r\n"},
        {"a\n\rb", "a\r\n\r\nb\r\n"},
        {"\r\r\n", "\r\n\r\n"},
        {std::string("a\nb\0c\nd", 7), "a\r\nb\r\n"},
        {std::string("\0abc", 4), ""},
    };
    for (const auto& [raw, rebuilt] : cases) {
        EXPECT_EQ(RebuildSettingsText(raw), rebuilt) << "raw: " << raw;
    }
}

std::string Element(const std::string& name, const std::string& value) {
    return SettingsTag{name}.Element(value);
}

TEST(ParseBrandSettings, ReadsEveryKeyInTableOrder) {
    std::string text;
    int i = 0;
    for (const SettingsKey& key : SettingsKeyTable()) {
        text += Element(key.name, std::string("value") + std::to_string(++i)) + "\r\n";
    }
    const ParsedBrandSettings parsed = ParseBrandSettings(text);
    i = 0;
    for (const SettingsKey& key : SettingsKeyTable()) {
        const std::string expected = std::string("value") + std::to_string(++i);
        if (key.field != nullptr) {
            EXPECT_EQ(parsed.record.*key.field, expected) << key.name;
        } else {
            EXPECT_EQ(parsed.makeMoneyButton, expected);
        }
    }
    EXPECT_EQ(parsed.record.ApplicationName, "value1");
    EXPECT_EQ(parsed.record.AboutText, "value17");
    EXPECT_TRUE(parsed.welcomePages.empty());
}

TEST(ParseBrandSettings, TagCaseOrderAndLineBreaks) {
    const std::string raw =
        "<%%BranderCode%%>BC-1<%%/BranderCode%%>\n"
        "<%%applicationname%%>My Product<%%/APPLICATIONNAME%%>\n"
        "<%%BranderType%%>Gold<%%/BranderType%%>\n"
        "<%%AboutText%%>line one\nline two\rline three<%%/AboutText%%>\n";
    const ParsedBrandSettings parsed = ParseBrandSettings(RebuildSettingsText(raw));
    EXPECT_EQ(parsed.record.ApplicationName, "My Product");
    // It stood before ApplicationName, which the reader takes first.
    EXPECT_EQ(parsed.record.BranderCode, "");
    EXPECT_EQ(parsed.record.BranderType, "Gold");
    EXPECT_EQ(parsed.record.AboutText, "line one\r\nline two\r\nline three");
}

TEST(ParseBrandSettings, OpeningTagWithoutClosingTag) {
    const std::string text =
        "<%%ApplicationName%%>Lost\r\n"
        "<%%BranderCode%%>BC<%%/BranderCode%%>\r\n";
    const ParsedBrandSettings parsed = ParseBrandSettings(text);
    EXPECT_EQ(parsed.record.ApplicationName, "");
    // The reader stands just behind the unclosed tag, so what follows reads.
    EXPECT_EQ(parsed.record.BranderCode, "BC");
}

TEST(ParseBrandSettings, AffiliatePlaceholder) {
    struct Case {
        std::string url, id, expected;
    };
    const std::vector<Case> cases = {
        {"http://a/?id=%%AFFILIATEID%%&r=%%AFFILIATEID%%", "77", "http://a/?id=77&r=77"},
        {"http://a/?id=%%affiliateid%%", "77", "http://a/?id=%%affiliateid%%"},
        {"http://a/%%AFFILIATEID%%/x", "", "http://a//x"},
        {"http://a/", "77", "http://a/"},
        {"%%AFFILIATEID%%%%AFFILIATEID%%", "%%AFFILIATEID%%", "%%AFFILIATEID%%%%AFFILIATEID%%"},
        // One pass: placeholders the id or an empty id make up with the
        // surrounding text are not replaced again.
        {"%%AFFIL%%AFFILIATEID%%", "IATEID%%", "%%AFFILIATEID%%"},
        {"%%%%AFFILIATEID%%%%", "AFFILIATEID", "%%AFFILIATEID%%"},
        {"%%AFFIL%%AFFILIATEID%%IATEID%%", "", "%%AFFILIATEID%%"},
    };
    for (const auto& c : cases) {
        const std::string text = Element("AffiliateURL", c.url) + Element("AffiliateID", c.id);
        const ParsedBrandSettings parsed = ParseBrandSettings(text);
        EXPECT_EQ(parsed.record.AffiliateURL, c.expected) << c.url;
        EXPECT_EQ(parsed.record.AffiliateID, c.id);
    }
}

std::string ListText(const std::string& list, const std::vector<int>& numbers) {
    std::string text;
    for (int n : numbers) {
        text += Element(list + std::to_string(n), list + " entry " + std::to_string(n)) + "\r\n";
    }
    return text;
}

TEST(ParseBrandSettings, NumberedLists) {
    std::vector<int> upTo17;
    for (int n = 1; n <= 17; ++n) {
        upTo17.push_back(n);
    }
    const std::string text = Element("AboutText", "about") + ListText("Welcome", {1, 2, 4}) +
                             ListText("Banner", upTo17) + ListText("Link", {2, 3}) +
                             Element("Link1", "after the gap");
    const ParsedBrandSettings parsed = ParseBrandSettings(text);
    EXPECT_EQ(parsed.welcomePages,
              (std::vector<std::string>{"Welcome entry 1", "Welcome entry 2"}));
    ASSERT_EQ(parsed.banners.size(), 16u);
    EXPECT_EQ(parsed.banners.front(), "Banner entry 1");
    EXPECT_EQ(parsed.banners.back(), "Banner entry 16");
    // Link1 after Link3 is found: the reader only needs Link1 after the
    // banners; Link2 then stands before it and is missed.
    EXPECT_EQ(parsed.links, (std::vector<std::string>{"after the gap"}));

    const ParsedBrandSettings emptyEntry = ParseBrandSettings(
        Element("Welcome1", "w1") + Element("Welcome2", "") + Element("Welcome3", "w3"));
    EXPECT_EQ(emptyEntry.welcomePages, (std::vector<std::string>{"w1"}));
}

TEST(BrandRules, TitleAndMakeMoneyCaption) {
    EXPECT_EQ(BrandWindowTitle(""), std::string(" v") + AppVersion);
    EXPECT_EQ(BrandWindowTitle("Feed Wizard"), std::string("Feed Wizard v") + AppVersion);
    EXPECT_EQ(MakeMoneyCaption(""), "Make Money");
    EXPECT_EQ(MakeMoneyCaption(" Earn "), " Earn ");
}

TEST(BrandRules, NewsButtonVisibility) {
    struct Case {
        std::string type;
        bool master, platinum, gold;  // channel filled (base URL and id)
        bool visible;
    };
    const std::vector<Case> cases = {
        {"Master", true, false, false, true},   {"Master", false, true, true, false},
        {"Platinum", false, true, false, true}, {"Platinum", true, false, true, false},
        {"Gold", false, false, true, true},     {"Gold", true, true, false, false},
        {"Free", true, false, false, true},     {"Free", false, true, true, false},
        {" Gold", true, true, true, false},     {"gold", true, true, true, false},
        {"MASTER", true, true, true, false},    {"", true, true, true, false},
    };
    for (const auto& c : cases) {
        BrandSettingsRecord r;
        r.BranderType = c.type;
        if (c.master) {
            r.MasterNewsBaseURL = "http://m/";
            r.MasterPublID = "m1";
        }
        if (c.platinum) {
            r.PlatinumNewsBaseURL = "http://p/";
            r.PlatinumPublID = "p1";
        }
        if (c.gold) {
            r.GoldNewsBaseURL = "http://g/";
            r.GoldPublID = "g1";
        }
        EXPECT_EQ(NewsButtonVisible(r), c.visible) << "'" << c.type << "'";
    }
    // Both halves of a channel are needed.
    BrandSettingsRecord half;
    half.BranderType = "Master";
    half.MasterPublID = "m1";
    EXPECT_FALSE(NewsButtonVisible(half));
    half.MasterPublID.clear();
    half.MasterNewsBaseURL = "http://m/";
    EXPECT_FALSE(NewsButtonVisible(half));
}

}  // namespace
}  // namespace zolt
