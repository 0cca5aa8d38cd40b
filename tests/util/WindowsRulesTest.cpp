#include "util/WindowsRules.h"

#include <gtest/gtest.h>

namespace zolt {
namespace {

TEST(WindowsRules, BrowserProgramFromRegisteredCommand) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"("C:\Program Files\Browser\browser.exe" -osint -url "%1")",
         R"(c:\program files\browser\browser.exe)"},
        {R"("C:\Program Files\Browser\browser.exe")", R"(c:\program files\browser\browser.exe)"},
        {R"(C:\PROGRA~1\Browser\BROWSER.EXE %1)", R"(c:\progra~1\browser\browser.exe)"},
        {R"(C:\Browser\browser.exe)", R"(c:\browser\browser.exe)"},
        {R"("C:\Browser\browser.exe" --single-argument %1)", R"(c:\browser\browser.exe)"},
        {R"("C:\a.exe.d\b.exe" "%1")", R"(c:\a.exe)"},
        {R"("C:\Browser\browser" %1)", ".exe"},
        {"", ""},
    };
    for (const auto& [command, program] : cases) {
        EXPECT_EQ(BrowserProgramFromCommand(command), program) << command;
    }
}

TEST(WindowsRules, ParameterTextGivesBackTheArguments) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, ""},
        {{"https://example.com/a%20b?c=1&d=2"}, "https://example.com/a%20b?c=1&d=2"},
        {{"https://update.example/", "2.01", "A"}, "https://update.example/ 2.01 A"},
        {{"C:\\Program Files\\x", ""}, R"("C:\Program Files\x" "")"},
        {{R"(say "hi")"}, R"("say \"hi\"")"},
        {{R"(C:\dir\ x\)"}, R"("C:\dir\ x\\")"},
        {{R"(a\"b)"}, R"("a\\\"b")"},
    };
    for (const auto& [args, text] : cases) {
        EXPECT_EQ(WindowsParameterText(args), text) << text;
    }
}

TEST(WindowsRules, StateFolderFromLocalAppDataElseTheKnownFolder) {
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {R"(C:\Users\u\AppData\Local)", R"(D:\Other)", "C:/Users/u/AppData/Local/RSSFeedZolt/"},
        {"C:/Users/u/AppData/Local/", "", "C:/Users/u/AppData/Local/RSSFeedZolt/"},
        {R"(\\server\share\u)", "", "//server/share/u/RSSFeedZolt/"},
        {"", R"(C:\Users\u\AppData\Local)", "C:/Users/u/AppData/Local/RSSFeedZolt/"},
        {R"(AppData\Local)", R"(C:\Known)", "C:/Known/RSSFeedZolt/"},
        {R"(C:AppData)", "", ""},
        {R"(\AppData)", "", ""},
        {"", "", ""},
    };
    for (const auto& [variable, known, folder] : cases) {
        EXPECT_EQ(WindowsStateFolder(variable, known).value_or(""), folder)
            << variable << " | " << known;
    }
}

}  // namespace
}  // namespace zolt
