#include "tools/BrandSource.h"

#include <QDir>

#include "branding/BrandFiles.h"
#include "branding/SettingsText.h"
#include "tools/BrandToolFiles.h"
#include "util/SettingsFileCrypt.h"
#include "util/Text.h"

namespace zolt {

Result<ParsedBrandSettings> ReadBrandFolder(const QString& brandFolder) {
    const Result<std::string> bytes =
        ReadToolInput(PathFromQString(brandFolder + "/dbsettings.dat"));
    if (!bytes.ok()) {
        return Fail(bytes.error());
    }
    std::string plain;
    if (!DecryptSettingsBytes(*bytes, plain)) {
        return Fail(
            "the brand's dbsettings.dat does not decrypt: the password does not fit or "
            "the file is damaged");
    }
    return ParseBrandSettings(RebuildSettingsText(plain));
}

Result<QStringList> CheckedBrandFileNames(const QString& brandFolder) {
    QStringList names = {"dbsettings.dat", "mainskin.dat", "main.ico"};
    for (int n = 1; n <= 16; ++n) {
        names << QString("banner%1.dat").arg(n);
    }
    for (const QString& file : names) {
        const QString path = brandFolder + "/" + file;
        if (!BrandFileSizeFits(PathFromQString(path), "brand file")) {
            return Fail("\"" + PathFromQString(path) + "\" is larger than " +
                        std::to_string(kMaxBrandFileSize >> 20) +
                        " MiB; the program would refuse it");
        }
    }
    return names;
}

Result<std::string> SaveBuilt(const QString& built, const std::string& outFolder,
                              const QString& name) {
    const std::string out = PathFromQString(QDir(PathToQString(outFolder)).absoluteFilePath(name));
    const Result<std::string> bytes = ReadToolInput(PathFromQString(built));
    if (!bytes.ok()) {
        return bytes;
    }
    if (const Status saved = WriteToolOutput(out, *bytes, false); !saved.ok()) {
        return Fail(saved.error());
    }
    return out;
}

}  // namespace zolt
