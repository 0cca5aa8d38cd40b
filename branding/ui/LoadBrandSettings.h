#pragma once

#include <optional>

#include "branding/BrandSetup.h"
#include "branding/ui/BrandTarget.h"
#include "util/Services.h"

namespace zolt {

// Reads the settings file beside the executable, brands the main window
// (title, Make Money caption, news button, banner strip, link strip, skin and
// icon) and returns the brand's record. Without a settings file, or one that
// cannot be read, the window keeps its design state and the record is empty.
BrandSettingsRecord LoadBrandSettings(const Services& services, const BrandTarget& target);

// The two halves of the above: reading the brand (nothing when there is
// none or it cannot be read), then branding the window with it. The skin is
// left to the caller, who applies it before making the controls so that
// each is styled once.
std::optional<BrandSetup> ReadBrandSetupOrNothing(const Services& services);
BrandSettingsRecord LoadBrandSettings(const std::optional<BrandSetup>& setup,
                                      const BrandTarget& target);

// The window part of the above, for a brand already worked out.
void ApplyBrandSetup(const BrandSetup& setup, const BrandTarget& target);

// Centres both banner controls in the banner strip; on show and on resize.
void CenterBanner(const BrandTarget& target);

}  // namespace zolt
