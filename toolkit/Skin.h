#pragma once

#include <optional>
#include <string>

class QWidget;

namespace zolt {

// Skins are Qt style sheets stored as zlib streams: the built-in one in the
// program's resources, a reseller's in "mainskin.dat".

// The built-in skin's style sheet (decompressed once from the resources).
const std::string& BuiltInSkin();
// Makes `styleSheet` the skin of the whole application, over the built-in
// skin's font (Liberation Sans, of Arial's metrics, 9 pt) and text colour,
// which a sheet may override.
void ApplySkin(const std::string& styleSheet);
// Whether the skin in force sets fonts (a font, font-family or font-size
// property anywhere). Without, every control keeps the font its widgets
// give it, the application's (Liberation Sans 9 pt) by default; a font rule
// costs every control a font of its own to resolve.
bool SkinSetsFonts();
// The style sheet in force.
std::string CurrentSkin();

}  // namespace zolt
