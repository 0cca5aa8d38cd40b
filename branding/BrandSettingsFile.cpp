#include "branding/BrandSettingsFile.h"

#include <exception>

#include "branding/BrandFiles.h"
#include "branding/PlainSettingsCopy.h"
#include "branding/SettingsText.h"
#include "util/SettingsFileCrypt.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace zolt {

namespace {

constexpr std::size_t kMaxSettingsFileSize = 16 * 1024 * 1024;
constexpr std::size_t kMaxSkinFileSize = 16 * 1024 * 1024;
// Salt, password verifier and authentication code around the encrypted text.
constexpr std::size_t kEncryptionOverhead = 64;

std::optional<std::string> DecryptInMemory(const std::string& source) {
    const std::optional<std::string> encrypted =
        ReadWholeFile(source, kMaxSettingsFileSize + kEncryptionOverhead);
    if (!encrypted) {
        return std::nullopt;
    }
    std::string plain;
    // As with the copy, a file that does not decrypt cleanly gives what
    // could be decrypted.
    DecryptSettingsBytes(*encrypted, plain);
    return RebuildSettingsText(plain);
}

}  // namespace

std::optional<std::string> ReadBrandSettingsText(const std::string& baseDir) {
    const std::string source = FileBeside(baseDir, kSettingsFileName);
    if (!FileExists(source)) {
        return std::nullopt;
    }
    try {
        PlainSettingsCopy copy(FileBeside(baseDir, kPlainSettingsFileName));
        if (!copy.Create()) {
            // A folder the user may not write (a system-wide install) still
            // brands the program: the same decryption, in memory.
            return DecryptInMemory(source);
        }
        // Whether the file decrypted is not asked: a wrong password leaves
        // the copy empty and damaged data leaves what could be decrypted.
        DecryptSettingsFile(source, copy.path());
        std::optional<std::string> bytes = ReadWholeFile(copy.path(), kMaxSettingsFileSize);
        if (!bytes) {
            return std::nullopt;
        }
        return RebuildSettingsText(*bytes);
    } catch (const std::exception&) {
        // An unreadable settings file or a copy that cannot be created; the
        // window still has to come up.
        return std::nullopt;
    }
}

std::optional<std::string> ReadSkinStyleSheet(const std::string& baseDir) {
    const std::optional<std::string> stored =
        ReadWholeFile(FileBeside(baseDir, kSkinFileName), kMaxSkinFileSize);
    if (!stored) {
        return std::nullopt;
    }
    std::optional<std::string> sheet = ZlibDecompress(*stored);
    if (!sheet || Trim(*sheet).empty()) {
        return std::nullopt;
    }
    return sheet;
}

}  // namespace zolt
