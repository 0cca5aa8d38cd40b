#include "branding/BannerClick.h"

#include "util/UUtils.h"

namespace zolt {

void OpenBannerClickURL(const Services& services, const BrandSettingsRecord& settings) {
    if (!settings.content.BannerClickURL.empty()) {
        LaunchBrowser(services, settings.content.BannerClickURL);
    }
}

}  // namespace zolt
