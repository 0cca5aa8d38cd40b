#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// Whether Qt takes `sheet`, the UTF-8 style sheet of a skin, as the
// application's style sheet: Qt parses it as a whole and drops all of it at
// the first error, leaving the program unskinned. Checked with Qt's own
// parser, the one the style applies; the failure names the line where it
// stopped. A sheet starting with "file:///" is refused too: Qt would read
// the file of that name instead.
Status CheckSkinStyleSheet(const std::string& sheet);

}  // namespace zolt
