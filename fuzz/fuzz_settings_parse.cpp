// The whole settings parse: rebuild, the forward reader over every key and
// list, the affiliate placeholder, the level rules and the random choice of
// welcome page, banner and links.

#include <cstddef>
#include <cstdint>
#include <string>

#include "branding/BrandContent.h"
#include "branding/BrandSettingsText.h"
#include "branding/SettingsKeys.h"
#include "branding/SettingsText.h"
#include "fuzz/FuzzCheck.h"

using namespace zolt;

namespace {

void CheckList(const std::vector<std::string>& entries) {
    FUZZ_CHECK(entries.size() <= static_cast<std::size_t>(kMaxListEntries));
    for (const std::string& entry : entries) {
        FUZZ_CHECK(!entry.empty());
    }
}

// Picks within the lists, with draws taken from the input so the fuzzer
// reaches every index, and also draws outside the list that a broken random
// service could give.
BrandContent Choose(const ParsedBrandSettings& parsed, uint8_t seed) {
    Services services;
    int calls = 0;
    services.randomize = [] {};
    services.random = [&calls, seed](int n) {
        FUZZ_CHECK(n > 0);
        return static_cast<int>(seed) - 64 + 7 * calls++;
    };
    services.tickCount = [] { return std::uint64_t{0}; };
    return ChooseBrandContent(services, parsed.welcomePages, parsed.banners, parsed.links);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = fuzz::Bytes(data, size);
    const std::string text = RebuildSettingsText(bytes);
    const ParsedBrandSettings parsed = ParseBrandSettings(text);
    CheckList(parsed.welcomePages);
    CheckList(parsed.banners);
    CheckList(parsed.links);
    // The replacement is one pass: a placeholder the id forms together with
    // the text around it stays, as does one an empty id closes up. Only an id
    // that shares no byte with the placeholder guarantees none is left.
    const std::string& id = parsed.record.AffiliateID;
    if (!id.empty() && id.find_first_of("%AFILTED") == std::string::npos) {
        FUZZ_CHECK(parsed.record.AffiliateURL.find("%%AFFILIATEID%%") == std::string::npos);
    }

    (void)BrandWindowTitle(parsed.record.ApplicationName);
    FUZZ_CHECK(!MakeMoneyCaption(parsed.makeMoneyButton).empty());
    (void)NewsButtonVisible(parsed.record);
    const NewsChannelInfo channel = NewsChannel(parsed.record);
    FUZZ_CHECK(channel.exists || channel.baseUrl.empty());

    const BrandContent content = Choose(parsed, size > 0 ? data[0] : 0);
    FUZZ_CHECK(content.bannerNumber >= 0 &&
               content.bannerNumber <= static_cast<int>(parsed.banners.size()));
    FUZZ_CHECK((content.bannerNumber == 0) == parsed.banners.empty());
    if (parsed.welcomePages.empty()) {
        FUZZ_CHECK(content.WelcomeHtml.empty());
    }
    if (parsed.links.empty()) {
        FUZZ_CHECK(content.Link1Caption.empty() && content.Link2Caption.empty());
    }

    // A text read straight off the disk, without the rebuild, must not
    // trouble the parser either.
    (void)ParseBrandSettings(bytes);
    return 0;
}
