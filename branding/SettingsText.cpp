#include "branding/SettingsText.h"

namespace zolt {

std::vector<std::string> SplitSettingsLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // a line has begun that no line end closed yet
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\0') {
            break;
        }
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            lines.push_back(line);
            line.clear();
            open = false;
            continue;
        }
        line += c;
        open = true;
    }
    if (open) {
        lines.push_back(line);
    }
    return lines;
}

std::string RebuildSettingsText(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16 + 2);
    for (const std::string& line : SplitSettingsLines(bytes)) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace zolt
