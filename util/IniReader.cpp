#include "util/IniReader.h"

#include <utility>

#include "util/Text.h"

namespace zolt {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string Unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

IniReader::IniReader(std::string text) : text_(std::move(text)) {
    // Notepad's UTF-8 mark would otherwise glue itself to the first header.
    if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text_.erase(0, 3);
    }
}

std::string IniReader::ReadString(const std::string& section, const std::string& key,
                                  const std::string& fallback) const {
    bool inSection = false;
    bool sectionSeen = false;
    size_t pos = 0;
    while (pos <= text_.size()) {
        size_t end = text_.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = text_.size();
        }
        const std::string line = Trim(text_.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line.front() == '[') {
            const size_t close = line.find(']');
            const std::string name =
                Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            if (inSection) {
                // Only the first section of that name counts.
                break;
            }
            inSection = !sectionSeen && SameName(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) {
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        if (SameName(Trim(line.substr(0, eq)), key)) {
            return Unquote(Trim(line.substr(eq + 1)));
        }
    }
    return fallback;
}

}  // namespace zolt
