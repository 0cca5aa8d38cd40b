#pragma once

#include <string>

namespace zolt {

// One element of the settings text: "<%%Name%%>" value "<%%/Name%%>".
// Readers match the tags without regard to ASCII letter case.
struct SettingsTag {
    std::string name;

    std::string Opening() const { return "<%%" + name + "%%>"; }
    std::string Closing() const { return "<%%/" + name + "%%>"; }
    // The whole element around `value`, as a settings text holds it.
    std::string Element(const std::string& value) const { return Opening() + value + Closing(); }
};

}  // namespace zolt
