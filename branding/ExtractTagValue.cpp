#include "branding/ExtractTagValue.h"

#include <algorithm>

namespace zolt {

std::string ExtractTagValue(std::string& unread, const std::string& opening,
                            const std::string& closing) {
    const std::size_t open = FindNoCase(unread, opening);
    if (open == std::string::npos) {
        return std::string();
    }
    unread.erase(0, open + opening.size());
    const std::size_t close = FindNoCase(unread, closing);
    if (close == std::string::npos) {
        return std::string();
    }
    std::string value = unread.substr(0, close);
    unread.erase(0, close);
    return value;
}

std::string ExtractTagValue(std::string& unread, const SettingsTag& tag) {
    return ExtractTagValue(unread, tag.Opening(), tag.Closing());
}

}  // namespace zolt
