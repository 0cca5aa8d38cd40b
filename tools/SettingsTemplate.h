#pragma once

#include <string>

namespace zolt {

// A settings text holding every key in reading order with an example value
// and one entry of each list, lines ended with CR LF.
std::string SettingsTemplateText();

}  // namespace zolt
