#include "util/WindowsRules.h"

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace zolt {
namespace {

TEST(WindowsRules, BrowserProgramFromRegisteredCommand) {
    const EnvironmentLookup variable = [](std::string_view name) -> std::optional<std::string> {
        if (name == "programfiles" || name == "ProgramFiles") {
            return R"(C:\Program Files)";
        }
        return std::nullopt;
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"("C:\Program Files\Browser\browser.exe" -osint -url "%1")",
         R"(c:\program files\browser\browser.exe)"},
        {R"(C:\PROGRA~1\Browser\BROWSER.EXE %1)", R"(c:\progra~1\browser\browser.exe)"},
        {R"(  C:\Browser\browser.exe)", R"(c:\browser\browser.exe)"},
        {R"(C:\Program Files\B\b.exe -url %1)", R"(c:\program files\b\b.exe)"},
        {R"("C:\a.exe.d\b.exe" "%1")", R"(c:\a.exe.d\b.exe)"},
        {R"(C:\Tools\my.exe.d\browser.exe %1)", R"(c:\tools\my.exe.d\browser.exe)"},
        {R"("%programfiles%\Internet Explorer\iexplore.exe" %1)",
         R"(c:\program files\internet explorer\iexplore.exe)"},
        {R"(%ProgramFiles%\B\b.exe %1)", R"(c:\program files\b\b.exe)"},
        {R"(%Unset%\b.exe %1)", ""},
        {R"("C:\Browser\browser" %1)", ""},
        {R"(rundll32.exe url.dll,FileProtocolHandler %1)", ""},
        {R"(C:\Windows\System32\rundll32.exe url.dll,FileProtocolHandler %1)", ""},
        {R"("%1")", ""},
        {R"(firefox.exe -url "%1")", ""},
        {R"("C:\Browser\browser.exe)", ""},
        {"", ""},
    };
    for (const auto& [command, program] : cases) {
        EXPECT_EQ(BrowserProgramFromCommand(command, variable), program) << command;
    }
    EXPECT_EQ(ExpandEnvironmentText("%a%%ProgramFiles%%%x%", variable),
              R"(%a%C:\Program Files%%x%)");
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
        {R"(\\server\share\u)", R"(C:\Users\u\AppData\Local)",
         "C:/Users/u/AppData/Local/RSSFeedZolt/"},
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
