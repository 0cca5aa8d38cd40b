#include "tools/BrandSource.h"

#include "branding/BrandFiles.h"
#include "branding/SettingsText.h"
#include "tools/BrandToolFiles.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {

Result<ParsedBrandSettings> ReadBrandFolder(const QString& brandFolder) {
    const Result<std::string> bytes =
        ReadToolInput((brandFolder + "/dbsettings.dat").toStdString());
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
        if (!BrandFileSizeFits(path.toStdString(), "brand file")) {
            return Fail("\"" + path.toStdString() + "\" is larger than " +
                        std::to_string(kMaxBrandFileSize >> 20) +
                        " MiB; the program would refuse it");
        }
    }
    return names;
}

}  // namespace zolt
