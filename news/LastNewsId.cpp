#include "news/LastNewsId.h"

#include <string_view>

#include "branding/BrandFiles.h"
#include "branding/BrandSettingsText.h"
#include "branding/ExtractTagValue.h"
#include "branding/SettingsText.h"
#include "news/NewsId.h"
#include "news/UserState.h"
#include "util/Files.h"
#include "util/Logging.h"
#include "util/SafeSave.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {

namespace {

struct ElementSpan {
    size_t open = std::string::npos;   // start of the opening tag
    size_t value = std::string::npos;  // start of the value
    size_t close = std::string::npos;  // start of the closing tag, npos when unclosed
};

// Where the element stands in a rebuilt text, found the way the settings
// reader finds it: the first opening tag and the first closing tag after it.
ElementSpan FindElement(const std::string& text) {
    ElementSpan span;
    span.open = FindNoCase(text, kLastNewsIdOpenTag);
    if (span.open == std::string::npos) {
        return span;
    }
    span.value = span.open + std::string_view(kLastNewsIdOpenTag).size();
    span.close = FindNoCase(text, kLastNewsIdCloseTag, span.value);
    return span;
}

// The name of the brand's own state file, as the brand's settings text names
// the brand; nothing when its code cannot name a file.
std::optional<std::string> BrandStateFileName(const std::string& plain) {
    const std::string code = ParseBrandSettings(RebuildSettingsText(plain)).record.BranderCode;
    std::optional<std::string> name = StateFileName(code);
    if (!name) {
        qCWarning(lcNews) << "no per-user state for this brand: its brander code is empty or"
                          << "longer than" << kMaxStateNameBytes << "bytes";
    }
    return name;
}

// The id this user last read with this brand, kept in the state folder
// because the program folder may not be written.
std::optional<NewsId> ReadUserLastNewsId(const ProgramConfig& config, const std::string& plain) {
    const std::optional<std::string> name = BrandStateFileName(plain);
    if (!name) {
        return std::nullopt;
    }
    const std::optional<std::string> state = ReadStateFile(config.stateDir, *name);
    if (!state) {
        return std::nullopt;
    }
    return LastNewsIdFromText(*state);
}

bool WriteUserLastNewsId(const ProgramConfig& config, const std::string& plain, const NewsId& id) {
    const std::optional<std::string> name = BrandStateFileName(plain);
    if (!name) {
        return false;
    }
    const std::string text =
        TextWithLastNewsId(ReadStateFile(config.stateDir, *name).value_or(""), id);
    if (const Status written = WriteStateFile(config.stateDir, *name, text); !written.ok()) {
        qCWarning(lcNews) << "last news id not stored:" << written.error().c_str();
        return false;
    }
    return true;
}

bool SaveSettingsLastNewsId(const std::string& path, const std::string& plain, const NewsId& id) {
    const Status saved =
        SaveFileReplacing(path, EncryptSettingsBytes(TextWithLastNewsId(plain, id)));
    if (!saved.ok()) {
        qCWarning(lcNews) << "last news id not stored:" << saved.error().c_str();
        return false;
    }
    return true;
}

// The highest id read: this user's state file may hold an older id than the
// settings file when the brand shipped a newer one, and the other way round.
std::optional<NewsId> StoredLastNewsId(const ProgramConfig& config, const std::string& plain) {
    std::optional<NewsId> id = LastNewsIdFromText(plain);
    if (!ProgramFolderWritable(config)) {
        const std::optional<NewsId> user = ReadUserLastNewsId(config, plain);
        if (user && (!id || user->value() > id->value())) {
            id = user;
        }
    }
    return id;
}

}  // namespace

std::optional<NewsId> LastNewsIdFromText(const std::string& plain) {
    std::string unread = RebuildSettingsText(plain);
    const std::string text = ExtractTagValue(unread, kLastNewsIdOpenTag, kLastNewsIdCloseTag);
    std::optional<NewsId> id = NewsId::Parse(text);
    if (!text.empty() && !id) {
        qCWarning(lcNews) << "stored last news id ignored, it is not a number";
    }
    return id;
}

std::string TextWithLastNewsId(const std::string& plain, const NewsId& id) {
    std::string text = RebuildSettingsText(plain);
    const std::string element = std::string(kLastNewsIdOpenTag) + id.text() + kLastNewsIdCloseTag;
    const ElementSpan span = FindElement(text);
    if (span.open == std::string::npos) {
        return text + element + "\r\n";
    }
    size_t stop;
    if (span.close != std::string::npos) {
        stop = span.close + std::string_view(kLastNewsIdCloseTag).size();
    } else {
        // Unclosed: what follows the tag on its line would have been the value.
        stop = text.find("\r\n", span.value);
    }
    text.replace(span.open, stop - span.open, element);
    return text;
}

std::optional<NewsId> ReadLastNewsId(const ProgramConfig& config) {
    const std::optional<std::string> encrypted =
        ReadWholeFile(FileBeside(config.baseDir, kSettingsFileName));
    if (!encrypted) {
        return std::nullopt;
    }
    std::string plain;
    DecryptSettingsBytes(*encrypted, plain);
    return StoredLastNewsId(config, plain);
}

bool WriteLastNewsId(const ProgramConfig& config, const NewsId& id) {
    const std::string path = FileBeside(config.baseDir, kSettingsFileName);
    const std::optional<std::string> encrypted = ReadWholeFile(path);
    if (!encrypted) {
        return false;
    }
    std::string plain;
    if (!DecryptSettingsBytes(*encrypted, plain)) {
        return false;
    }
    // Reading an older message after a newer one leaves the newer one stored:
    // otherwise the next start would announce the newer one again.
    const std::optional<NewsId> stored = StoredLastNewsId(config, plain);
    if (stored && stored->value() >= id.value()) {
        return true;
    }
    if (!ProgramFolderWritable(config)) {
        return WriteUserLastNewsId(config, plain, id);
    }
    return SaveSettingsLastNewsId(path, plain, id);
}

}  // namespace zolt
