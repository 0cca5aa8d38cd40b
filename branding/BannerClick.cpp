#include "branding/BannerClick.h"

#include "util/UUtils.h"

namespace zolt {

void OpenBannerClickURL(const Services& services, const BrandSettingsRecord& settings) {
    if (!settings.BannerClickURL.empty()) {
        LaunchBrowser(services, settings.BannerClickURL);
    }
}

}  // namespace zolt
