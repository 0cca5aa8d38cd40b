#pragma once

#include <cstddef>
#include <string>

namespace zolt {

// The brand's files beside the executable.
inline constexpr char kSettingsFileName[] = "dbsettings.dat";
inline constexpr char kPlainSettingsFileName[] = "dbsettings.sim";
inline constexpr char kSkinFileName[] = "mainskin.dat";
inline constexpr char kIconFileName[] = "main.ico";

// No banner, icon or skin comes near this; a bigger file is refused by its
// size before anything of it is read.
inline constexpr std::size_t kMaxBrandFileSize = 16 * 1024 * 1024;

// Whether the file at `path` is at most kMaxBrandFileSize bytes (a missing
// one is); logs the refusal of `what` ("banner", "icon", ...) otherwise.
bool BrandFileSizeFits(const std::string& path, const char* what);

}  // namespace zolt
