#include "tools/SettingsCheck.h"

#include <map>
#include <set>

#include "branding/BannerPicture.h"
#include "branding/BrandContent.h"
#include "branding/BrandFiles.h"
#include "branding/BrandSettingsText.h"
#include "branding/ExtractTagValue.h"
#include "branding/ResellerLevel.h"
#include "branding/SettingsKeys.h"
#include "branding/SettingsText.h"
#include "branding/UpdateSettings.h"
#include "util/Files.h"
#include "util/UUtils.h"

namespace zolt {

namespace {

struct FoundTag {
    std::string name;  // as written
    std::size_t position;
};

// Every opening tag "<%%Name%%>" of the text, in file order.
std::vector<FoundTag> OpeningTags(const std::string& text) {
    std::vector<FoundTag> tags;
    std::size_t at = 0;
    while ((at = text.find("<%%", at)) != std::string::npos) {
        const std::size_t end = text.find("%%>", at + 3);
        if (end == std::string::npos) {
            break;
        }
        const std::string name = text.substr(at + 3, end - at - 3);
        if (!name.empty() && name[0] != '/' && name.find_first_of("<>\r\n") == std::string::npos) {
            tags.push_back({name, at});
        }
        at += 3;
    }
    return tags;
}

// What a reader starting at the top would find for the element.
enum class Presence { Missing, Unclosed, Empty, Filled };

Presence FromTheTop(const std::string& text, const SettingsTag& tag) {
    const std::size_t open = FindNoCase(text, tag.Opening());
    if (open == std::string::npos) {
        return Presence::Missing;
    }
    const std::size_t from = open + tag.Opening().size();
    const std::size_t close = FindNoCase(text, tag.Closing(), from);
    if (close == std::string::npos) {
        return Presence::Unclosed;
    }
    return close == from ? Presence::Empty : Presence::Filled;
}

// Splits "Welcome12" into ("WELCOME", 12) when it names a list entry.
bool ListEntryName(const std::string& name, std::string& list, int& number) {
    const std::string upper = AsciiUpper(name);
    for (const char* key : kSettingsListKeys) {
        const std::string k = AsciiUpper(key);
        if (upper.rfind(k, 0) != 0 || upper.size() == k.size()) {
            continue;
        }
        const std::string digits = upper.substr(k.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 6) {
            continue;
        }
        list = key;
        number = std::stoi(digits);
        // "Welcome01" is no name the program ever asks for.
        return digits[0] != '0';
    }
    return false;
}

class Checker {
  public:
    Checker(const std::string& text, const std::string& folder,
            const std::function<bool(const std::string&, const std::string&)>& canDecode)
        : text_(text), folder_(folder), canDecode_(canDecode), parsed_(ParseBrandSettings(text)) {}

    SettingsCheckReport Run() {
        ReportValues();
        CheckKeys();
        CheckLists();
        CheckBanners();
        CheckLevel();
        CheckLastNewsIdLine();
        CheckUpdateSite();
        return std::move(report_);
    }

  private:
    void Warn(std::string text) { report_.warnings.push_back(std::move(text)); }

    const std::vector<std::string>& ListOf(const std::string& key) const {
        if (key == kSettingsListKeys[0]) {
            return parsed_.welcomePages;
        }
        if (key == kSettingsListKeys[1]) {
            return parsed_.banners;
        }
        return parsed_.links;
    }

    void ReportValues() {
        for (const SettingsKey& key : SettingsKeyTable()) {
            const std::string& value =
                key.field ? parsed_.record.*key.field : parsed_.makeMoneyButton;
            report_.values.emplace_back(key.name, value);
        }
        for (const char* list : kSettingsListKeys) {
            const auto& entries = ListOf(list);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                report_.values.emplace_back(list + std::to_string(i + 1), entries[i]);
            }
        }
        report_.values.emplace_back("window title",
                                    BrandWindowTitle(parsed_.record.ApplicationName));
        report_.values.emplace_back("Make Money caption",
                                    MakeMoneyCaption(parsed_.makeMoneyButton));
        report_.values.emplace_back("news button",
                                    NewsButtonVisible(parsed_.record) ? "shown" : "hidden");
        report_.values.emplace_back(kUpdateBaseUrlKey, parsed_.record.UpdateBaseURL);
        report_.values.emplace_back(kUpdatePublicKeyKey, parsed_.record.UpdatePublicKey);
    }

    // The brand's own update site and key: each must be usable, and a site
    // of the brand's own needs the brand's key, since the maker signs only
    // the maker's packages.
    void CheckUpdateSite() {
        const BrandSettingsRecord& r = parsed_.record;
        if (!r.UpdateBaseURL.empty()) {
            if (Result<std::string> url = CheckUpdateBaseUrl(r.UpdateBaseURL); !url.ok()) {
                Warn(url.error() + "; the program cannot check for updates");
            }
        }
        if (!r.UpdatePublicKey.empty()) {
            if (Result<std::string> key = DecodeUpdatePublicKey(r.UpdatePublicKey); !key.ok()) {
                Warn(key.error() + "; the program installs no update");
            }
        } else if (!r.UpdateBaseURL.empty()) {
            Warn(std::string(kUpdateBaseUrlKey) + " names the brand's own update site but " +
                 kUpdatePublicKeyKey +
                 " is empty: its packages must then be signed with the "
                 "maker's key (zolt-brand update-key makes a key of the brand's own)");
        }
    }

    void CheckKeys() {
        for (const SettingsKey& key : SettingsKeyTable()) {
            const std::string& value =
                key.field ? parsed_.record.*key.field : parsed_.makeMoneyButton;
            const SettingsTag tag{key.name};
            const Presence presence = FromTheTop(text_, tag);
            if (presence == Presence::Unclosed) {
                Warn(tag.Opening() + " has no closing tag " + tag.Closing() +
                     " and reads as empty");
            } else if (value.empty() && presence == Presence::Filled) {
                Warn(tag.Opening() + " stands before an element read earlier and is not read; " +
                     "keep the elements in the order of a new template");
            }
        }
        std::map<std::string, int> seen;
        for (const FoundTag& tag : OpeningTags(text_)) {
            const std::string upper = AsciiUpper(tag.name);
            std::string list;
            int number = 0;
            bool known =
                upper == AsciiUpper(kLastNewsIdKey) || upper == AsciiUpper(kUpdateBaseUrlKey) ||
                upper == AsciiUpper(kUpdatePublicKeyKey) || ListEntryName(tag.name, list, number);
            for (const SettingsKey& key : SettingsKeyTable()) {
                known = known || upper == AsciiUpper(key.name);
            }
            if (!known) {
                Warn("<%%" + tag.name + "%%> is no element the program reads");
            } else if (++seen[upper] == 2) {
                Warn("<%%" + tag.name + "%%> occurs more than once; only one of them is read");
            }
        }
    }

    void CheckLists() {
        for (const char* list : kSettingsListKeys) {
            const int read = static_cast<int>(ListOf(list).size());
            std::set<int> numbers;
            for (const FoundTag& tag : OpeningTags(text_)) {
                std::string name;
                int number = 0;
                if (ListEntryName(tag.name, name, number) && name == list) {
                    numbers.insert(number);
                }
            }
            for (int number : numbers) {
                const std::string entry = list + std::to_string(number);
                const std::string opening = SettingsTag{entry}.Opening();
                if (number > kMaxListEntries) {
                    Warn(opening + " is above " + std::to_string(kMaxListEntries) +
                         " and never read");
                } else if (number == read + 1) {
                    const Presence presence = FromTheTop(text_, SettingsTag{entry});
                    if (presence == Presence::Unclosed) {
                        Warn(opening + " has no closing tag and ends the " + list + " list");
                    } else if (presence == Presence::Empty) {
                        Warn(opening + " is empty and ends the " + list + " list");
                    } else if (presence == Presence::Filled) {
                        Warn(opening + " stands out of order and is not read; the " + list +
                             " entries must follow the elements before them, in rising order");
                    }
                } else if (number > read + 1) {
                    Warn(opening + " comes after a gap (" + list + std::to_string(read + 1) +
                         " is not read) and is not read");
                }
            }
        }
    }

    void CheckBanners() {
        for (std::size_t i = 0; i < parsed_.banners.size(); ++i) {
            const int number = static_cast<int>(i + 1);
            const std::string entry = "Banner" + std::to_string(number);
            const std::string imageName = SplitListEntry(parsed_.banners[i]).first;
            if (imageName.empty()) {
                Warn(entry + " has no image name; the banner strip stays hidden when it is drawn");
                continue;
            }
            const std::string format =
                IsGifBanner(imageName) ? std::string("gif") : BannerPictureFormat(imageName);
            const bool formatKnown = !format.empty() && canDecode_(format, std::string());
            if (!formatKnown) {
                Warn(entry + ": the image name \"" + imageName +
                     "\" names no picture format the program can show");
            }
            const std::string file = BannerFileName(number);
            const std::string path = FileBeside(folder_, file);
            if (!BrandFileSizeFits(path, "banner")) {
                Warn(entry + ": " + file + " is larger than " +
                     std::to_string(kMaxBrandFileSize >> 20) + " MiB; the program refuses it");
                continue;
            }
            const auto bytes = ReadWholeFile(path, kMaxBrandFileSize);
            if (!bytes) {
                Warn(entry + " has no picture file " + file + " beside the settings file");
            } else if (formatKnown && !canDecode_(format, *bytes)) {
                Warn(entry + ": " + file + " cannot be read as a " + format + " picture");
            }
        }
    }

    void CheckLevel() {
        const BrandSettingsRecord& r = parsed_.record;
        const ResellerLevelInfo* level = FindResellerLevel(r.BranderType);
        if (level == nullptr) {
            const auto table = ResellerLevelTable();
            std::string names;
            for (size_t i = 0; i < table.size(); ++i) {
                names += std::string(i == 0 ? "" : (i + 1 == table.size() ? " and " : ", ")) +
                         table[i].name;
            }
            Warn("BranderType " + QuoteValue(r.BranderType) + " is none of " + names +
                 " (compared exactly, blanks count): the copy has no news channel and the news "
                 "button stays hidden");
            return;
        }
        const bool buttonChannelFilled =
            !(r.*level->buttonBaseUrl).empty() && !(r.*level->buttonPublisherId).empty();
        if (level->newsBaseUrl != nullptr && !buttonChannelFilled) {
            Warn(std::string("the ") + level->name + " news channel is not filled (" + level->name +
                 "NewsBaseURL and " + level->name + "PublID): the news button stays hidden");
        }
        if (level->newsBaseUrl == nullptr && buttonChannelFilled) {
            Warn(std::string("a ") + level->name +
                 " copy shows the news button for the filled Master channel, but has "
                 "no news channel of its own and only reports that there is no news");
        }
    }

    void CheckLastNewsIdLine() {
        const SettingsTag tag{kLastNewsIdKey};
        for (const std::string& line : SplitSettingsLines(text_)) {
            if (FindNoCase(line, tag.Opening()) == std::string::npos) {
                continue;
            }
            std::string rest = line;
            ExtractTagValue(rest, tag);
            const std::size_t close = FindNoCase(rest, tag.Closing());
            const bool alone = FindNoCase(line, tag.Opening()) == 0 && close != std::string::npos &&
                               close + tag.Closing().size() == rest.size();
            if (!alone) {
                Warn(tag.Opening() +
                     " must stand alone on its line: saving the last news read replaces the "
                     "whole line");
            }
        }
    }

    const std::string& text_;
    const std::string& folder_;
    const std::function<bool(const std::string&, const std::string&)>& canDecode_;
    ParsedBrandSettings parsed_;
    SettingsCheckReport report_;
};

}  // namespace

SettingsCheckReport CheckSettingsText(
    const std::string& plainText, const std::string& folder,
    const std::function<bool(const std::string& format, const std::string& bytes)>& canDecode) {
    const std::string text = RebuildSettingsText(plainText);
    return Checker(text, folder, canDecode).Run();
}

std::string QuoteValue(const std::string& value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
    return out;
}

}  // namespace zolt
