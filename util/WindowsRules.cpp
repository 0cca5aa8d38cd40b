#include "util/WindowsRules.h"

#include <algorithm>

namespace zolt {

std::string ExpandEnvironmentText(std::string_view text, const EnvironmentLookup& variable) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        out.append(text.substr(i, open - i));
        const std::optional<std::string> value =
            close > open + 1 ? variable(text.substr(open + 1, close - open - 1)) : std::nullopt;
        if (value) {
            out += *value;
            i = close + 1;
        } else {
            // Not a name: the second "%" may open the next one.
            out += '%';
            i = open + 1;
        }
    }
    out.append(text.substr(i));
    return out;
}

std::string BrowserProgramFromCommand(std::string_view command, const EnvironmentLookup& variable) {
    std::string text = ExpandEnvironmentText(command, variable);
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) {
        return std::string();
    }
    std::string program;
    if (text[start] == '"') {
        const std::size_t close = text.find('"', start + 1);
        if (close == std::string::npos) {
            return std::string();
        }
        program = text.substr(start + 1, close - start - 1);
    } else {
        for (std::size_t exe = text.find(".exe", start); exe != std::string::npos;
             exe = text.find(".exe", exe + 1)) {
            const std::size_t end = exe + 4;
            if (end == text.size() || text[end] == ' ' || text[end] == '\t') {
                program = text.substr(start, end - start);
                break;
            }
        }
    }
    const std::size_t name = program.find_last_of("\\/");
    if (!IsAbsoluteWindowsPath(program) || !program.ends_with(".exe") ||
        program.substr(name + 1) == "rundll32.exe") {
        return std::string();
    }
    return program;
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
    // A network share is slow or gone when the network is, and it may be
    // what another account set the variable to.
    const bool share = localAppData.size() >= 2 &&
                       (localAppData[0] == '\\' || localAppData[0] == '/') &&
                       (localAppData[1] == '\\' || localAppData[1] == '/');
    const bool local = IsAbsoluteWindowsPath(localAppData) && !share;
    std::string base(local                                 ? localAppData
                     : IsAbsoluteWindowsPath(knownFolder)  ? knownFolder
                     : IsAbsoluteWindowsPath(localAppData) ? localAppData
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
