#pragma once

#include <optional>
#include <string>

class QWidget;

namespace zolt {

// Skins are Qt style sheets stored as zlib streams: the built-in one in the
// program's resources, a reseller's in "mainskin.dat".

// The built-in skin's style sheet (decompressed once from the resources).
const std::string& BuiltInSkin();
// The style sheet in a compressed skin file; nothing when the file is
// missing, unreadable, empty or not a zlib stream.
std::optional<std::string> LoadSkinFile(const std::string& path);
// Makes `styleSheet` the skin of the whole application.
void ApplySkin(const std::string& styleSheet);
// The style sheet in force.
std::string CurrentSkin();

}  // namespace zolt
