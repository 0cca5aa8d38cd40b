#include "branding/BrandSetup.h"

#include "branding/BrandFiles.h"
#include "branding/BrandSettingsFile.h"
#include "branding/BrandSettingsText.h"
#include "util/Files.h"

namespace zolt {

BrandSetup MakeBrandSetup(const std::string& baseDir, const Services& services,
                          const std::string& settingsText) {
    ParsedBrandSettings parsed = ParseBrandSettings(settingsText);
    BrandSetup setup;
    setup.windowTitle = BrandWindowTitle(parsed.record.ApplicationName);
    setup.makeMoneyCaption = MakeMoneyCaption(parsed.makeMoneyButton);
    setup.newsButtonVisible = NewsButtonVisible(parsed.record);
    setup.record = std::move(parsed.record);
    setup.record.content =
        ChooseBrandContent(services, parsed.welcomePages, parsed.banners, std::move(parsed.links));
    setup.banner = ReadBannerPicture(baseDir, setup.record.content.bannerNumber,
                                     setup.record.content.BannerImageName);
    setup.skinStyleSheet = ReadSkinStyleSheet(baseDir);
    const std::string icon = FileBeside(baseDir, kIconFileName);
    if (FileExists(icon) && BrandFileSizeFits(icon, "icon")) {
        setup.iconPath = icon;
    }
    return setup;
}

std::optional<BrandSetup> ReadBrandSetup(const std::string& baseDir, const Services& services) {
    const std::optional<std::string> text = ReadBrandSettingsText(baseDir);
    if (!text) {
        return std::nullopt;
    }
    return MakeBrandSetup(baseDir, services, *text);
}

}  // namespace zolt
