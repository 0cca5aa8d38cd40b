#pragma once

#include <optional>
#include <string>

#include "branding/BannerPicture.h"
#include "branding/BrandContent.h"
#include "branding/BrandSettings.h"
#include "util/Services.h"

namespace zolt {

// Everything a settings file does to the main window, worked out without
// touching it; the window applies it in one go.
struct BrandSetup {
    // All brand fields, the chosen welcome page, banner and links included.
    BrandSettingsRecord record;
    std::string windowTitle;
    std::string makeMoneyCaption;
    bool newsButtonVisible = false;
    // The chosen banner's stored picture; nothing hides the banner strip.
    std::optional<BannerPicture> banner;
    // A style sheet replacing the built-in skin.
    std::optional<std::string> skinStyleSheet;
    // Full path of "main.ico", empty when there is none.
    std::string iconPath;
};

// The brand from a rebuilt settings text; banner, skin and icon files are
// looked up in the program folder `baseDir`, and the random choices drawn
// through `services`.
BrandSetup MakeBrandSetup(const std::string& baseDir, const Services& services,
                          const std::string& settingsText);

// The brand of the settings file in `baseDir`; nothing when the program runs
// unbranded (no settings file, or no plain copy possible).
std::optional<BrandSetup> ReadBrandSetup(const std::string& baseDir, const Services& services);

}  // namespace zolt
