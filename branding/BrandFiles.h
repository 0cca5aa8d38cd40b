#pragma once

namespace zolt {

// The brand's files beside the executable.
inline constexpr char kSettingsFileName[] = "dbsettings.dat";
inline constexpr char kPlainSettingsFileName[] = "dbsettings.sim";
inline constexpr char kSkinFileName[] = "mainskin.dat";
inline constexpr char kIconFileName[] = "main.ico";

}  // namespace zolt
