#include "util/WindowsRules.h"

#include <algorithm>

namespace zolt {

std::string BrowserProgramFromCommand(std::string_view command) {
    if (command.empty()) {
        return std::string();
    }
    std::string lower(command);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    const std::size_t exe = lower.find(".exe");
    lower = (exe == std::string::npos ? std::string() : lower.substr(0, exe)) + ".exe";
    std::erase(lower, '"');
    return lower;
}

std::string WindowsParameterText(const std::vector<std::string>& args) {
    std::string text;
    for (const std::string& arg : args) {
        if (!text.empty()) {
            text += ' ';
        }
        if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
            text += arg;
            continue;
        }
        // Backslashes are literal except before a quote, where they double.
        text += '"';
        std::size_t backslashes = 0;
        for (const char c : arg) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            text.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
            backslashes = 0;
            text += c;
        }
        text.append(2 * backslashes, '\\');
        text += '"';
    }
    return text;
}

bool IsAbsoluteWindowsPath(std::string_view path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
        path[1] == ':' && separator(path[2])) {
        return true;
    }
    return path.size() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
}

std::optional<std::string> WindowsStateFolder(std::string_view localAppData,
                                              std::string_view knownFolder) {
    std::string base(IsAbsoluteWindowsPath(localAppData)  ? localAppData
                     : IsAbsoluteWindowsPath(knownFolder) ? knownFolder
                                                          : std::string_view());
    if (base.empty()) {
        return std::nullopt;
    }
    std::replace(base.begin(), base.end(), '\\', '/');
    if (base.back() != '/') {
        base += '/';
    }
    return base + kWindowsProductFolder + "/";
}

}  // namespace zolt
