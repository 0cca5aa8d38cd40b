#include "util/UUtils.h"

#include <optional>

#include "util/Encoding.h"
#include "util/Logging.h"
#include "util/WebAddress.h"

namespace zolt {

void SplitByChar(char separator, const std::string& source, std::vector<std::string>& list) {
    list.clear();
    std::string field;
    for (const char c : source) {
        if (c == separator) {
            list.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty()) {
        list.push_back(field);
    }
}

Result<std::string> DecodeDollarHex(const std::string& source) {
    std::string result;
    result.reserve(source.size());
    size_t i = 0;
    while (i < source.size()) {
        if (source[i] != '$') {
            result += source[i];
            ++i;
            continue;
        }
        // "$" then the next two characters (fewer at the end), all hex digits.
        const size_t take = std::min<size_t>(2, source.size() - i - 1);
        const auto bad = [&] { return Fail("bad \"$\" escape at byte " + std::to_string(i)); };
        if (take == 0) {
            return bad();
        }
        int value = 0;
        for (size_t k = 1; k <= take; ++k) {
            const int digit = HexDigitValue(source[i + k]);
            if (digit < 0) {
                return bad();
            }
            value = value * 16 + digit;
        }
        result += static_cast<char>(value);
        i += 1 + take;
    }
    return result;
}

bool LaunchBrowser(const Services& services, const std::string& url) {
    if (!services.findProgram || !services.startDetached) {
        return false;
    }
    std::vector<std::string> args;
    if (!url.empty()) {
        // Links come from settings files and news pages: only web and mail
        // addresses reach the browser, never a switch, a file or a program.
        const std::optional<std::string> address = BrowserAddress(url);
        if (!address) {
            qCWarning(lcUtil) << "refused to open a link that is not a web address:"
                              << QByteArray::fromStdString(url.substr(0, 200));
            return false;
        }
        args.push_back(*address);
    }
    std::string command;
    if (services.browserProgram) {
        command = services.browserProgram();
    } else {
        command = services.findProgram("x-www-browser");
        if (command.empty() && !url.empty()) {
            command = services.findProgram("xdg-open");
        }
    }
    if (command.empty() && services.openAddress && !args.empty()) {
        // The registered command names no program that could be started
        // safely by path: the system's own handler opens the address.
        if (!services.openAddress(args.front())) {
            qCInfo(lcUtil) << "the system did not open the address";
        }
        return true;
    }
    if (command.empty()) {
        qCInfo(lcUtil)
            << (services.browserProgram
                    ? "no browser is registered for web addresses"
                    : "no browser to open a link with (neither x-www-browser nor xdg-open)");
        return false;
    }
    if (!services.startDetached(command, args)) {
        qCInfo(lcUtil) << "the browser did not start:" << command.c_str();
    }
    return true;
}

}  // namespace zolt
