#include "tools/BrandInstaller.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include "branding/AppVersion.h"
#include "tools/BrandSource.h"
#include "tools/InstallerScript.h"
#include "tools/PackageStage.h"
#include "tools/PackageText.h"

namespace zolt {

namespace {

constexpr char kProgram[] = "rssfeedzolt.exe";

std::string InstallerName(const BrandInstallerRequest& request, const std::string& product) {
    const std::string name = request.name.empty() ? PackageNameFor(product) : request.name;
    if (!IsPackageName(name) || name == "rssfeedzolt") {
        throw PackageFailure("no installer name: " +
                             (request.name.empty() ? "the product name \"" + product + "\" gives"
                                                   : "\"" + request.name + "\" is") +
                             " none; give one of lower-case letters, digits and \"-\" with "
                             "--name (not \"rssfeedzolt\")");
    }
    return name;
}

// The portable folder's files and folders into `stage`, links left out,
// except those the brand brings. Fills `info` with what was staged.
void StageBase(const QString& base, const QStringList& brandFiles, PackageStage& stage,
               InstallerInfo& info) {
    if (!QFileInfo(base + "/" + kProgram).isFile()) {
        throw PackageFailure("\"" + base.toStdString() + "\" is no portable folder: it has no " +
                             kProgram);
    }
    QDirIterator it(base, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    std::vector<std::string> folders;
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo entry = it.fileInfo();
        const QString relative = QDir(base).relativeFilePath(path);
        if (entry.isSymLink() || (brandFiles.contains(relative) && entry.isFile())) {
            continue;
        }
        const std::string windows = QString(relative).replace('/', '\\').toStdString();
        if (entry.isDir()) {
            QDir().mkpath(stage.Path(relative));
            info.folders.push_back(windows);
        } else {
            stage.Copy(path, relative);
            info.files.push_back(windows);
        }
    }
    // Parents before their children, as the uninstaller removes them in reverse.
    std::sort(info.folders.begin(), info.folders.end());
}

void RunMakensis(const QString& script) {
    const QString program = QStandardPaths::findExecutable("makensis");
    if (program.isEmpty()) {
        throw PackageFailure(
            "makensis is missing (it comes with NSIS; on Debian the package nsis)");
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {"-V2", "-INPUTCHARSET", "UTF8", script});
    if (!process.waitForFinished(10 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        throw PackageFailure("makensis failed: " +
                             OneLine(process.readAll().right(2000).toStdString()));
    }
}

std::string Build(const BrandInstallerRequest& request) {
    const QString brandFolder = QString::fromStdString(request.brandFolder);
    const ParsedBrandSettings brand = ReadBrandFolder(brandFolder);
    const std::string product = OneLine(brand.record.ApplicationName);
    if (WindowsNameFor(product).empty()) {
        throw PackageFailure("the brand's settings name no product (ApplicationName is empty)");
    }
    const QStringList brandFiles = CheckedBrandFileNames(brandFolder);
    QTemporaryDir work;
    if (!work.isValid()) {
        throw PackageFailure("no temporary folder: " + work.errorString().toStdString());
    }
    InstallerInfo info;
    info.name = InstallerName(request, product);
    info.product = product;
    info.publisher = OneLine(brand.record.CopyrightCompany);
    if (info.publisher.empty()) {
        info.publisher = product;
    }
    info.version = AppVersion;
    info.stage = work.filePath("stage").toStdString();
    info.outFile = work.filePath("built.exe").toStdString();
    PackageStage stage(work.filePath("stage"));
    StageBase(QFileInfo(QString::fromStdString(request.baseFolder)).absoluteFilePath(), brandFiles,
              stage, info);
    for (const QString& file : brandFiles) {
        const QString path = brandFolder + "/" + file;
        if (file == "dbsettings.dat" || QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
            stage.Copy(path, file);
            info.files.push_back(file.toStdString());
        }
    }
    PackageStage(work.path())
        .Write("installer.nsi", QByteArray::fromStdString(NsisScriptText(info)));
    RunMakensis(work.filePath("installer.nsi"));

    return SaveBuilt(QString::fromStdString(info.outFile), request.outFolder,
                     QString::fromStdString(info.name + "-" + info.version + "-win64.exe"));
}

}  // namespace

std::optional<std::string> MakeBrandInstaller(const BrandInstallerRequest& request,
                                              std::string& error) {
    try {
        return Build(request);
    } catch (const PackageFailure& e) {
        error = e.what();
        return std::nullopt;
    }
}

}  // namespace zolt
