#include "util/UUtils.h"

#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/RecordingServices.h"

namespace zolt {
namespace {

using Fields = std::vector<std::string>;

struct SplitCase {
    std::string source;
    Fields fields;
};

TEST(SplitByChar, FieldsAsTheSeparatorsFall) {
    const std::vector<SplitCase> cases = {
        {"a^b", {"a", "b"}},
        {"a^^b", {"a", "", "b"}},
        {"^b", {"", "b"}},
        {"a^", {"a"}},
        {"a^^", {"a", ""}},
        {"^", {""}},
        {"", {}},
        {"abc", {"abc"}},
        {"^^", {"", ""}},
        {"x^\xAFy", {"x", "\xAFy"}},
    };
    for (const auto& c : cases) {
        Fields out = {"stale"};
        SplitByChar('^', c.source, out);
        EXPECT_EQ(out, c.fields) << "source: " << c.source;
    }
}

TEST(SplitByChar, HighByteSeparator) {
    Fields out;
    SplitByChar('\xAF',
                std::string("1^t^d\xAF"
                            "2^u^e\xAF"
                            "OK"),
                out);
    EXPECT_EQ(out, (Fields{"1^t^d", "2^u^e", "OK"}));
}

TEST(DecodeDollarHex, EscapesAndFailures) {
    const std::string kBad = "bad \"$\" escape at byte ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a$41b", "aAb"},       {"$3C$2Fp$3E", "</p>"},
        {"50$", kBad + "2"},    {"$4", std::string(1, '\x04')},
        {"$$41", kBad + "0"},   {"$4g", kBad + "0"},
        {"100%", "100%"},       {"", ""},
        {"$ff$FF", "\xFF\xFF"}, {"$00", std::string(1, '\0')},
        {"$3c$3E", "<>"},       {"ok$zz then more", kBad + "2"},
        {"$414", "A4"},
    };
    for (const auto& [source, expected] : cases) {
        const Result<std::string> decoded = DecodeDollarHex(source);
        EXPECT_EQ(decoded.ok() ? *decoded : decoded.error(), expected) << "source: " << source;
    }
}

class LaunchBrowserTest : public ::testing::Test {
  protected:
    std::shared_ptr<test::Recorder> rec = std::make_shared<test::Recorder>();
    Services services = test::MakeRecordingServices(rec);
};

TEST_F(LaunchBrowserTest, HandsOverOnlyWebAndMailAddressesReEncoded) {
    rec->programs = {{"x-www-browser", "/usr/bin/x-www-browser"},
                     {"xdg-open", "/usr/bin/xdg-open"}};
    const std::vector<std::pair<std::string, std::string>> cases = {
        // accepted, as the browser receives them
        {"http://example.com/a b?c=\"d\"", "http://example.com/a%20b?c=%22d%22"},
        {"HTTPS://Example.COM/x", "https://example.com/x"},
        {" https://example.com/ ", "https://example.com/"},
        {"mailto:owner@example.com", "mailto:owner@example.com"},
        {"http://example.com/--x=1", "http://example.com/--x=1"},
        // a mail address keeps its addresses, subject, body, cc and bcc
        {"mailto:a@b?attach=/etc/passwd", "mailto:a@b"},
        {"mailto:a@b,c@d?Subject=Hi%20you&attach=/etc/passwd&body=x&CC=c@d&bcc=e@f&to=g@h#f",
         "mailto:a@b,c@d?Subject=Hi%20you&body=x&CC=c@d&bcc=e@f"},
        {"mailto:a@b?subject=x;attach=/etc/passwd&Attachment=y&attach%3D=z",
         "mailto:a@b?subject=x%3Battach%3D/etc/passwd"},
        // refused: the browser is not started
        {"--utility-cmd-prefix=/bin/sh", ""},
        {"-new-window", ""},
        {"file:///etc/passwd", ""},
        {"file:///home/u/x.desktop", ""},
        {"javascript:alert(1)", ""},
        {"ssh://host/", ""},
        {"zolt-custom:run", ""},
        {"/usr/bin/xterm", ""},
        {"relative/page.html", ""},
        {"http:/no-host", ""},
        {"https://", ""},
        {"mailto:", ""},
        {"http://exa mple.com/", ""},
    };
    for (const auto& [url, handed] : cases) {
        rec->processes.clear();
        EXPECT_EQ(LaunchBrowser(services, url), !handed.empty()) << url;
        if (handed.empty()) {
            EXPECT_TRUE(rec->processes.empty()) << url;
        } else {
            ASSERT_EQ(rec->processes.size(), 1u) << url;
            EXPECT_EQ(rec->processes[0].program, "/usr/bin/x-www-browser");
            EXPECT_EQ(rec->processes[0].args, Fields{handed}) << url;
        }
    }
}

TEST_F(LaunchBrowserTest, EmptyUrlStartsTheBrowserWithoutArgument) {
    rec->programs = {{"x-www-browser", "/usr/bin/x-www-browser"}};
    EXPECT_TRUE(LaunchBrowser(services, ""));
    ASSERT_EQ(rec->processes.size(), 1u);
    EXPECT_TRUE(rec->processes[0].args.empty());
}

TEST_F(LaunchBrowserTest, FallsBackToXdgOpenOnlyForAnAddress) {
    rec->programs = {{"xdg-open", "/usr/bin/xdg-open"}};
    EXPECT_TRUE(LaunchBrowser(services, "http://example.com/"));
    ASSERT_EQ(rec->processes.size(), 1u);
    EXPECT_EQ(rec->processes[0].program, "/usr/bin/xdg-open");
    EXPECT_FALSE(LaunchBrowser(services, ""));
    EXPECT_EQ(rec->processes.size(), 1u);
}

TEST_F(LaunchBrowserTest, NoBrowserGivesFalseAndStartsNothing) {
    EXPECT_FALSE(LaunchBrowser(services, "http://example.com/"));
    EXPECT_TRUE(rec->processes.empty());
}

TEST_F(LaunchBrowserTest, TheRegisteredBrowserComesBeforeThePath) {
    rec->programs = {{"x-www-browser", "/usr/bin/x-www-browser"}};
    services.browserProgram = [] { return std::string("c:\\browser\\browser.exe"); };
    EXPECT_TRUE(LaunchBrowser(services, "http://example.com/a b"));
    ASSERT_EQ(rec->processes.size(), 1u);
    EXPECT_EQ(rec->processes[0].program, "c:\\browser\\browser.exe");
    EXPECT_EQ(rec->processes[0].args, Fields{"http://example.com/a%20b"});
    services.browserProgram = [] { return std::string(); };
    EXPECT_FALSE(LaunchBrowser(services, "http://example.com/"));
    EXPECT_EQ(rec->processes.size(), 1u);
    // No browser program named: the system's own handler gets the checked address.
    std::vector<std::string> opened;
    services.openAddress = [&](const std::string& address) {
        opened.push_back(address);
        return true;
    };
    EXPECT_TRUE(LaunchBrowser(services, "http://example.com/a b"));
    EXPECT_FALSE(LaunchBrowser(services, "file:///etc/passwd"));
    EXPECT_EQ(opened, Fields{"http://example.com/a%20b"});
    EXPECT_EQ(rec->processes.size(), 1u);
}

TEST_F(LaunchBrowserTest, TrueEvenWhenTheStartFails) {
    rec->programs = {{"x-www-browser", "/nonexistent/browser"}};
    rec->startSucceeds = false;
    EXPECT_TRUE(LaunchBrowser(services, "http://example.com/"));
}

}  // namespace
}  // namespace zolt
