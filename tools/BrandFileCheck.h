#pragma once

#include <string>

#include "tools/SettingsCheck.h"

namespace zolt {

// What the program will make of the skin (mainskin.dat) and the icon
// (main.ico) in `folder`, read with the program's own code: the skin's
// style sheet parsed as Qt parses it, the icon's sizes. Adds its values and
// warnings to `report`; a missing file is no warning.
void CheckBrandFiles(const std::string& folder, SettingsCheckReport& report);

}  // namespace zolt
