#include "tools/SettingsTemplate.h"

#include <map>

#include "branding/SettingsKeys.h"

namespace zolt {

namespace {

// Text outside the elements is ignored by the program, so the template can
// explain itself; it must only never contain the tag opener.
const char* const kIntroduction[] = {
    "Brand settings of RSS Feed Zolt.",
    "Only the tagged elements below are read; lines like this one are ignored.",
    "Keep the elements in this order: the program reads them front to back, and an",
    "element that stands before one read earlier is not found.",
    "Welcome, Banner and Link entries are numbered from 1 to 16 without gaps;",
    "a banner entry is IMAGE-NAME^CLICK-URL and needs its picture stored as",
    "banner1.dat, banner2.dat, ... beside the program; a link entry is CAPTION^URL.",
    "Encrypt it with: zolt-brand encrypt THIS-FILE dbsettings.dat",
};

const std::map<std::string, std::string>& Examples() {
    static const std::map<std::string, std::string> examples = {
        {"ApplicationName", "My Feed Tool"},
        {"BranderCode", "MYCODE"},
        {"BranderType", "Master"},
        {"AffiliateURL", "http://www.example.com/join/?aff=%%AFFILIATEID%%"},
        {"AffiliateTYPE", "1"},
        {"AffiliateID", "12345"},
        {"MasterNewsBaseURL", "http://news.example.com/master/"},
        {"PlatinumNewsBaseURL", "http://news.example.com/platinum/"},
        {"GoldNewsBaseURL", "http://news.example.com/gold/"},
        {"MasterPublID", "M-0001"},
        {"PlatinumPublID", "P-0001"},
        {"GoldPublID", "G-0001"},
        {"MakeMoneyButton", "Make Money"},
        {"AppHelpURL", "http://www.example.com/help/"},
        {"CopyrightYears", "2024-2026"},
        {"CopyrightCompany", "Example Software Ltd."},
        {"AboutText",
         "My Feed Tool writes the PHP code that shows live feeds\r\n"
         "on your own web pages."},
        {"Welcome",
         "<html><body><h1>Welcome to My Feed Tool</h1>\r\n"
         "<p>Thank you for choosing us.</p></body></html>"},
        {"Banner", "banner.jpg^http://www.example.com/"},
        {"Link", "Example Software^http://www.example.com/"},
    };
    return examples;
}

}  // namespace

std::string SettingsTemplateText() {
    std::string text;
    for (const char* line : kIntroduction) {
        text += line;
        text += "\r\n";
    }
    text += "\r\n";
    for (const SettingsKey& key : SettingsKeyTable()) {
        text += SettingsTag{key.name}.Element(Examples().at(key.name)) + "\r\n";
    }
    for (const char* list : kSettingsListKeys) {
        text += ListEntryTag(list, 1).Element(Examples().at(list)) + "\r\n";
    }
    return text;
}

}  // namespace zolt
