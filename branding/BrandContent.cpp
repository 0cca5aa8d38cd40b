#include "branding/BrandContent.h"

#include <tuple>
#include <utility>

#include "util/UUtils.h"

namespace zolt {

namespace {

int Draw(const Services& services, int count) {
    services.randomize();
    const int index = services.random(count);
    // A draw outside the list would be a broken random service; keep start-up
    // going with the first entry rather than reading past the list.
    return (index >= 0 && index < count) ? index : 0;
}

}  // namespace

std::pair<std::string, std::string> SplitListEntry(const std::string& entry) {
    std::vector<std::string> fields;
    SplitByChar('^', entry, fields);
    std::pair<std::string, std::string> out;
    if (!fields.empty()) {
        out.first = fields[0];
    }
    if (fields.size() > 1) {
        out.second = fields[1];
    }
    return out;
}

BrandContent ChooseBrandContent(const Services& services,
                                const std::vector<std::string>& welcomePages,
                                const std::vector<std::string>& banners,
                                std::vector<std::string> links) {
    BrandContent content;
    if (!welcomePages.empty()) {
        content.WelcomeHtml = welcomePages[Draw(services, static_cast<int>(welcomePages.size()))];
    }
    if (!banners.empty()) {
        const int i = Draw(services, static_cast<int>(banners.size()));
        content.bannerNumber = i + 1;
        std::tie(content.BannerImageName, content.BannerClickURL) = SplitListEntry(banners[i]);
    }
    if (!links.empty()) {
        const int j = Draw(services, static_cast<int>(links.size()));
        std::tie(content.Link1Caption, content.Link1URL) = SplitListEntry(links[j]);
        links.erase(links.begin() + j);
        if (!links.empty()) {
            const int k = Draw(services, static_cast<int>(links.size()));
            std::tie(content.Link2Caption, content.Link2URL) = SplitListEntry(links[k]);
        }
    }
    return content;
}

BannerPosition CenterBannerPosition(int stripWidth, int stripHeight, int width, int height) {
    return {stripWidth / 2 - width / 2, stripHeight / 2 - height / 2};
}

}  // namespace zolt
