#include "branding/BrandSettingsFile.h"

#include <exception>

#include "branding/BrandFiles.h"
#include "branding/SettingsText.h"
#include "branding/SkinSheet.h"
#include "util/Files.h"
#include "util/Logging.h"
#include "util/SafeSave.h"
#include "util/SettingsFileCrypt.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace zolt {

namespace {

constexpr std::size_t kMaxSettingsFileSize = 16 * 1024 * 1024;
// Salt, password verifier and authentication code around the encrypted text.
constexpr std::size_t kEncryptionOverhead = 64;

std::optional<std::string> DecryptInMemory(const std::string& source) {
    const std::optional<std::string> encrypted =
        ReadWholeFile(source, kMaxSettingsFileSize + kEncryptionOverhead);
    if (!encrypted) {
        return std::nullopt;
    }
    std::string plain;
    // A file that does not decrypt cleanly gives what could be decrypted.
    if (!DecryptSettingsBytes(*encrypted, plain)) {
        qCWarning(lcBranding) << "settings file damaged or not ours:" << plain.size()
                              << "bytes decrypted";
    }
    return RebuildSettingsText(plain);
}

}  // namespace

std::optional<std::string> ReadBrandSettingsText(const std::string& baseDir) {
    // A plain copy that an older version's crash left behind holds the
    // reseller's settings in the clear.
    RemoveFileName(FileBeside(baseDir, kPlainSettingsFileName));
    const std::string source = FileBeside(baseDir, kSettingsFileName);
    if (!FileExists(source)) {
        qCInfo(lcBranding) << "no settings file: the window is unbranded";
        return std::nullopt;
    }
    try {
        std::optional<std::string> text = DecryptInMemory(source);
        if (!text) {
            qCWarning(lcBranding) << "settings file not read (unreadable or too large)";
        }
        return text;
    } catch (const std::exception& e) {
        // The window still has to come up.
        qCWarning(lcBranding) << "settings file not read:" << e.what();
        return std::nullopt;
    }
}

std::optional<std::string> ReadSkinStyleSheet(const std::string& baseDir) {
    const std::string path = FileBeside(baseDir, kSkinFileName);
    if (!BrandFileSizeFits(path, "skin")) {
        return std::nullopt;
    }
    const std::optional<std::string> stored = ReadWholeFile(path, kMaxBrandFileSize);
    if (!stored) {
        return std::nullopt;
    }
    std::optional<std::string> sheet = ZlibDecompress(*stored);
    if (!sheet || Trim(*sheet).empty()) {
        qCWarning(lcBranding) << "skin refused: not a zlib stream of a style sheet";
        return std::nullopt;
    }
    // Qt would drop all of a sheet it cannot parse and leave the window
    // without any skin; the built-in one stays instead.
    if (const Status readable = CheckSkinStyleSheet(*sheet); !readable.ok()) {
        qCWarning(lcBranding).noquote() << "skin refused:" << PathToQString(readable.error());
        return std::nullopt;
    }
    return sheet;
}

}  // namespace zolt
