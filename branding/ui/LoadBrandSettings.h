#pragma once

#include <optional>

#include "branding/BrandSetup.h"
#include "branding/ui/BrandTarget.h"
#include "util/Services.h"

namespace zolt {

// Loading the brand comes in two halves, so that the main window can apply
// the skin before it makes its controls and each is styled once. First the
// settings file beside the executable is read (nothing when there is none or
// it cannot be read); then the main window is branded with it (title, Make
// Money caption, news button, banner strip, link strip and icon) and the
// brand's record returned. Without a brand the window keeps its design state
// and the record is empty.
std::optional<BrandSetup> ReadBrandSetupOrNothing(const std::string& baseDir,
                                                  const Services& services);
BrandSettingsRecord LoadBrandSettings(const std::optional<BrandSetup>& setup,
                                      const BrandTarget& target);

// The window part of the above, for a brand already worked out.
void ApplyBrandSetup(const BrandSetup& setup, const BrandTarget& target);

// Centres both banner controls in the banner strip; on show and on resize.
void CenterBanner(const BrandTarget& target);

}  // namespace zolt
