#include "tools/BrandSource.h"

#include <QDir>

#include "branding/BrandFiles.h"
#include "branding/SettingsText.h"
#include "tools/BrandToolFiles.h"
#include "tools/PackageStage.h"
#include "util/SettingsFileCrypt.h"

namespace zolt {

ParsedBrandSettings ReadBrandFolder(const QString& brandFolder) {
    std::string error;
    const auto bytes = ReadToolInput((brandFolder + "/dbsettings.dat").toStdString(), error);
    if (!bytes) {
        throw PackageFailure(error);
    }
    std::string plain;
    if (!DecryptSettingsBytes(*bytes, plain)) {
        throw PackageFailure(
            "the brand's dbsettings.dat does not decrypt: the password does not fit or "
            "the file is damaged");
    }
    return ParseBrandSettings(RebuildSettingsText(plain));
}

QStringList CheckedBrandFileNames(const QString& brandFolder) {
    QStringList names = {"dbsettings.dat", "mainskin.dat", "main.ico"};
    for (int n = 1; n <= 16; ++n) {
        names << QString("banner%1.dat").arg(n);
    }
    for (const QString& file : names) {
        const QString path = brandFolder + "/" + file;
        if (!BrandFileSizeFits(path.toStdString(), "brand file")) {
            throw PackageFailure("\"" + path.toStdString() + "\" is larger than " +
                                 std::to_string(kMaxBrandFileSize >> 20) +
                                 " MiB; the program would refuse it");
        }
    }
    return names;
}

std::string SaveBuilt(const QString& built, const std::string& outFolder, const QString& name) {
    const std::string out =
        QDir(QString::fromStdString(outFolder)).absoluteFilePath(name).toStdString();
    std::string error;
    const auto bytes = ReadToolInput(built.toStdString(), error);
    if (!bytes || !WriteToolOutput(out, *bytes, false, error)) {
        throw PackageFailure(error);
    }
    return out;
}

}  // namespace zolt
