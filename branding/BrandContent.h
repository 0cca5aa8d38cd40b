#pragma once

#include <string>
#include <utility>
#include <vector>

#include "util/Services.h"

namespace zolt {

// The welcome page, banner and two links picked for this start.
struct BrandContent {
    std::string WelcomeHtml;
    // Position of the chosen banner entry counting from 1 (its picture is
    // "banner" n ".dat"); 0 when there was no banner entry.
    int bannerNumber = 0;
    std::string BannerImageName;
    std::string BannerClickURL;
    std::string Link1Caption;
    std::string Link1URL;
    std::string Link2Caption;
    std::string Link2URL;

    // Shown with the hand cursor: there is somewhere to go on a click.
    bool BannerHasClick() const { return !BannerClickURL.empty(); }
    bool LinksVisible() const { return !Link1Caption.empty(); }
};

// Field 0 and field 1 of a banner or link entry ("image^URL",
// "caption^URL"); a field that is not there reads as empty.
std::pair<std::string, std::string> SplitListEntry(const std::string& entry);

// Picks one welcome page, one banner entry and two different link entries,
// each with a fresh draw (reseeded from the clock through `services`) from
// its own list. Entries split at "^" into (image or caption, URL); a missing
// URL field reads as empty.
BrandContent ChooseBrandContent(const Services& services,
                                const std::vector<std::string>& welcomePages,
                                const std::vector<std::string>& banners,
                                std::vector<std::string> links);

// Where a banner control of the given size goes inside its strip: centred,
// each half-width and half-height truncated on its own, so a control larger
// than the strip gets a negative place and is clipped evenly.
struct BannerPosition {
    int left = 0;
    int top = 0;
};
BannerPosition CenterBannerPosition(int stripWidth, int stripHeight, int width, int height);

// Strip height around a banner picture of `pictureHeight` pixels.
inline int BannerStripHeight(int pictureHeight) {
    return pictureHeight + 10;
}

}  // namespace zolt
