#pragma once

#include <cstddef>
#include <optional>
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

// `name` inside the folder `baseDir`.
std::string FileBeside(const std::string& baseDir, const std::string& name);

bool FileExists(const std::string& path);

// The whole content of a regular file; nothing when it is missing, not a
// regular file, unreadable, or larger than `maxSize` (also when it grows
// beyond it while being read).
std::optional<std::string> ReadWholeFile(const std::string& path,
                                         std::size_t maxSize = 64 * 1024 * 1024);

}  // namespace zolt
