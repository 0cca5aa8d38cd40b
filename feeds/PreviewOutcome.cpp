#include "feeds/PreviewOutcome.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "util/Text.h"

namespace zolt {

namespace {

// The modules that feedreader.php calls into, and how the user knows them.
struct NeededExtension {
    const char* module;
    const char* name;
};
constexpr NeededExtension kNeededExtensions[] = {
    {"curl", "curl"},
    {"dom", "XML"},
    {"mbstring", "mbstring"},
};

#ifdef _WIN32
constexpr const char* kInstallHint =
    "(Windows: unpack PHP from windows.php.net into a folder on PATH or beside this program, "
    "and enable extension=curl and extension=mbstring in its php.ini)";
#else
constexpr const char* kInstallHint =
    "(Debian: sudo apt-get install php-cli php-curl php-xml php-mbstring)";
#endif

// So much of the error stream is shown; a script that loops on warnings
// writes megabytes.
constexpr std::size_t kShownErrorBytes = 16 * 1024;

// Close to a browser's plain page: the feedreader classes get the look that
// sites usually give them.
constexpr const char* kPreviewStyle =
    "body { background-color: #ffffff; color: #222222; font-family: sans-serif; "
    "font-size: 14px; }\n"
    "a { color: #1a0dab; }\n"
    "h3 { font-size: 17px; margin-bottom: 6px; }\n"
    "li { margin-bottom: 8px; }\n"
    ".feedreader-date { color: #666666; font-size: 12px; }\n"
    ".feedreader-summary { color: #444444; margin-top: 2px; margin-bottom: 0px; }\n"
    ".feedreader-price { color: #0a7d25; font-weight: bold; }\n"
    ".feedreader-error { color: #a00000; }\n"
    "pre { color: #444444; font-size: 12px; }\n";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string HtmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string ExtensionNames(const std::vector<std::string>& missing) {
    std::string names;
    for (size_t i = 0; i < missing.size(); ++i) {
        std::string name = missing[i];
        for (const NeededExtension& e : kNeededExtensions) {
            if (missing[i] == e.module) {
                name = e.name;
            }
        }
        names += (i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + name;
    }
    return names;
}

std::string Sentence(PreviewResult result, int timeLimitMs,
                     const std::vector<std::string>& missing) {
    switch (result) {
        case PreviewResult::Running:
            return "PHP is running the snippet\xE2\x80\xA6";
        case PreviewResult::Page:
            return "";
        case PreviewResult::Error:
            return "PHP stopped with an error.";
        case PreviewResult::Nothing:
            return "The snippet printed nothing.";
        case PreviewResult::NoPhp:
            return std::string(
                       "The preview needs PHP with its curl, XML and mbstring extensions, "
                       "and no php program was found: install them ") +
                   kInstallHint + ".";
        case PreviewResult::NoExtension:
            return "PHP on this computer lacks the " + ExtensionNames(missing) + " extension" +
                   (missing.size() > 1 ? "s" : "") + " that the preview needs: install " +
                   (missing.size() > 1 ? "them " : "it ") + kInstallHint + ".";
        case PreviewResult::TimedOut: {
            const int seconds = (timeLimitMs + 999) / 1000;
            return "PHP did not finish within " + std::to_string(seconds) + " second" +
                   (seconds == 1 ? "" : "s") + ", so the preview was stopped.";
        }
        case PreviewResult::Cancelled:
            return "The preview was cancelled.";
        case PreviewResult::NoLibrary:
            return "The preview cannot run: this installation holds no copy of feedreader.php.";
        case PreviewResult::NoSite:
            return "The preview cannot run: its temporary folder could not be written.";
    }
    return "";
}

}  // namespace

std::vector<std::string> MissingPhpExtensions(const std::string& moduleList) {
    std::vector<std::string> have;
    std::istringstream lines(moduleList);
    for (std::string line; std::getline(lines, line);) {
        have.push_back(Lower(Trim(line)));
    }
    std::vector<std::string> missing;
    for (const NeededExtension& e : kNeededExtensions) {
        if (std::find(have.begin(), have.end(), e.module) == have.end()) {
            missing.emplace_back(e.module);
        }
    }
    return missing;
}

PreviewOutcome PreviewMessage(PreviewResult result, int timeLimitMs,
                              const std::vector<std::string>& missing) {
    return {result, Sentence(result, timeLimitMs, missing), "", ""};
}

PreviewOutcome PageOutcome(bool exitedNormally, int exitCode, const std::string& out,
                           const std::string& err) {
    PreviewOutcome outcome;
    if (!exitedNormally || exitCode != 0) {
        outcome = PreviewMessage(PreviewResult::Error);
    } else if (Trim(out).empty()) {
        outcome = PreviewMessage(PreviewResult::Nothing);
    } else {
        outcome.result = PreviewResult::Page;
        outcome.page = out;
    }
    outcome.errors = err;
    return outcome;
}

std::string PreviewDocument(const PreviewOutcome& outcome) {
    std::string body;
    if (outcome.result == PreviewResult::Page) {
        body = outcome.page;
    } else {
        body = "<p>" + HtmlEscaped(outcome.sentence) + "</p>\n";
        const std::string errors = Trim(outcome.errors);
        if (!errors.empty()) {
            body += "<pre>" + HtmlEscaped(errors.substr(0, kShownErrorBytes)) + "</pre>\n";
        }
    }
    return std::string("<html><head><style>\n") + kPreviewStyle + "</style></head><body>\n" + body +
           "</body></html>\n";
}

}  // namespace zolt
