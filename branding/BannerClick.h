#pragma once

#include "branding/BrandSettings.h"
#include "util/Services.h"

namespace zolt {

// A click on the banner: opens its click URL in the browser; a banner
// without one does nothing.
void OpenBannerClickURL(const Services& services, const BrandSettingsRecord& settings);

}  // namespace zolt
