#pragma once

#include <string>
#include <vector>

namespace zolt {

// The lines of a settings text as the bytes on disk hold them: a line ends
// at CR LF, a lone CR or a lone LF, and a NUL byte ends the text. A last line
// without line end still counts.
std::vector<std::string> SplitSettingsLines(const std::string& bytes);

// The lines joined again with CR LF after every line, the last one included;
// all reading of keys works on this form.
std::string RebuildSettingsText(const std::string& bytes);

}  // namespace zolt
