#pragma once

#include <optional>

#include "branding/BrandSetup.h"
#include "branding/ui/BrandTarget.h"
#include "util/Services.h"

namespace zolt {

// Reads the settings file beside the executable, fills the process-wide
// brand record and brands the main window: title, Make Money caption, news
// button, banner strip, link strip, skin and icon. Without a settings file
// (or when its plain copy cannot be made) the window keeps its design state
// and the record stays empty.
void LoadBrandSettings(const Services& services, const BrandTarget& target);

// The two halves of the above: reading the brand (nothing when there is
// none or it cannot be read), then filling the record and branding the
// window with it.
std::optional<BrandSetup> ReadBrandSetupOrNothing(const Services& services);
void LoadBrandSettings(const std::optional<BrandSetup>& setup, const BrandTarget& target);

// The window part of the above, for a brand already worked out.
void ApplyBrandSetup(const BrandSetup& setup, const BrandTarget& target);

// Centres both banner controls in the banner strip; on show and on resize.
void CenterBanner(const BrandTarget& target);

}  // namespace zolt
