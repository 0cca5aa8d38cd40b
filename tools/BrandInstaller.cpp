#include "tools/BrandInstaller.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include "branding/AppVersion.h"
#include "tools/BrandSource.h"
#include "tools/BrandToolFiles.h"
#include "tools/InstallerScript.h"
#include "tools/PackageStage.h"
#include "tools/PackageText.h"
#include "tools/ToolProcess.h"
#include "util/Text.h"

namespace zolt {

namespace {

constexpr char kProgram[] = "rssfeedzolt.exe";

Result<std::string> InstallerName(const BrandInstallerRequest& request,
                                  const std::string& product) {
    const std::string name = request.name.empty() ? PackageNameFor(product) : request.name;
    if (!IsPackageName(name) || name == "rssfeedzolt") {
        return Fail("no installer name: " +
                    (request.name.empty() ? "the product name \"" + product + "\" gives"
                                          : "\"" + request.name + "\" is") +
                    " none; give one of lower-case letters, digits and \"-\" with "
                    "--name (not \"rssfeedzolt\")");
    }
    return name;
}

// The portable folder's files and folders into `stage`, links left out,
// except those the brand brings. Fills `info` with what was staged; the
// stage keeps its own failures.
Status StageBase(const QString& base, const QStringList& brandFiles, PackageStage& stage,
                 InstallerInfo& info) {
    if (!QFileInfo(base + "/" + kProgram).isFile()) {
        return Fail("\"" + PathFromQString(base) + "\" is no portable folder: it has no " +
                    kProgram);
    }
    QDirIterator it(base, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo entry = it.fileInfo();
        const QString relative = QDir(base).relativeFilePath(path);
        if (entry.isSymLink() || (brandFiles.contains(relative) && entry.isFile())) {
            continue;
        }
        const std::string windows = PathFromQString(QString(relative).replace('/', '\\'));
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
    return {};
}

// makensis in `folder`, where the script finds its stage and writes its
// installer.
Status RunMakensis(const QString& folder) {
    const Result<QByteArray> made =
        RunTool({"makensis", "NSIS; on Debian the package nsis"},
                {"-V2", "-INPUTCHARSET", "UTF8", "installer.nsi"}, {}, folder);
    return made.ok() ? Status() : Fail(made.error());
}

// Signs the stage's programs and libraries, and makes the command by which
// makensis has this tool sign the uninstaller that it writes. The command
// names only files of `work`, where makensis runs, and this tool's path,
// which must need no quoting in a shell.
Result<std::string> SignStage(const SigningKey& key, const QString& work,
                              const InstallerInfo& info) {
    for (const std::string& file : info.files) {
        const QString path = QDir(work).filePath(QString(kInstallerStage) + "/" +
                                                 PathToQString(file).replace('\\', '/'));
        if (path.endsWith(".exe", Qt::CaseInsensitive) ||
            path.endsWith(".dll", Qt::CaseInsensitive)) {
            if (const Status signedFile = SignWindowsFile(key, path, work); !signedFile.ok()) {
                return Fail(signedFile.error());
            }
        }
    }
    const QString tool = QCoreApplication::applicationFilePath();
    static const QRegularExpression plainPath("^/[A-Za-z0-9_./+-]+$");
    if (!plainPath.match(tool).hasMatch()) {
        return Fail(
            "the uninstaller can be signed only by a zolt-brand whose path is a plain "
            "Linux path of letters, digits and ./_+-, not \"" +
            PathFromQString(tool) + "\"");
    }
    const Result<std::string> pfx = ReadToolInput(key.pfxFile);
    if (!pfx.ok()) {
        return Fail(pfx.error());
    }
    for (const auto& [name, bytes] :
         {std::pair{"signing.pfx", *pfx}, std::pair{"signing-uninstaller", key.password + "\n"}}) {
        if (const Status written =
                WriteToolOutput(PathFromQString(QDir(work).filePath(name)), bytes, true);
            !written.ok()) {
            return Fail(written.error());
        }
    }
    return "\"" + PathFromQString(tool) + "\" sign --password-file signing-uninstaller" +
           (key.timestampUrl.empty() ? "" : " --timestamp " + key.timestampUrl) +
           " signing.pfx \"%1\"";
}

}  // namespace

Result<std::string> MakeBrandInstaller(const BrandInstallerRequest& request) {
    const QString brandFolder = PathToQString(request.brandFolder);
    const Result<ParsedBrandSettings> brand = ReadBrandFolder(brandFolder);
    if (!brand.ok()) {
        return Fail(brand.error());
    }
    const std::string product = OneLine(brand->record.ApplicationName);
    if (WindowsNameFor(product).empty()) {
        return Fail("the brand's settings name no product (ApplicationName is empty)");
    }
    const Result<QStringList> checkedFiles = CheckedBrandFileNames(brandFolder);
    if (!checkedFiles.ok()) {
        return Fail(checkedFiles.error());
    }
    const QStringList& brandFiles = *checkedFiles;
    QTemporaryDir work;
    if (!work.isValid()) {
        return Fail("no temporary folder: " + FromQString(work.errorString()));
    }
    const Result<std::string> name = InstallerName(request, product);
    if (!name.ok()) {
        return name;
    }
    InstallerInfo info;
    info.name = *name;
    info.product = product;
    info.publisher = OneLine(brand->record.CopyrightCompany);
    if (info.publisher.empty()) {
        info.publisher = product;
    }
    info.version = AppVersion;
    PackageStage stage(work.filePath(kInstallerStage));
    const Status base = StageBase(QFileInfo(PathToQString(request.baseFolder)).absoluteFilePath(),
                                  brandFiles, stage, info);
    if (!base.ok()) {
        return Fail(base.error());
    }
    for (const QString& file : brandFiles) {
        const QString path = brandFolder + "/" + file;
        if (file == "dbsettings.dat" || QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
            stage.Copy(path, file);
            info.files.push_back(PathFromQString(file));
        }
    }
    if (request.signing && stage.status().ok()) {
        const Result<std::string> command = SignStage(*request.signing, work.path(), info);
        if (!command.ok()) {
            return Fail(command.error());
        }
        info.signCommand = *command;
    }
    PackageStage script(work.path());
    script.Write("installer.nsi", QByteArray::fromStdString(NsisScriptText(info)));
    for (const Status& status : {stage.status(), script.status()}) {
        if (!status.ok()) {
            return Fail(status.error());
        }
    }
    if (const Status built = RunMakensis(work.path()); !built.ok()) {
        return Fail(built.error());
    }
    if (request.signing) {
        if (const Status signedInstaller =
                SignWindowsFile(*request.signing, work.filePath(kInstallerOut), work.path());
            !signedInstaller.ok()) {
            return Fail(signedInstaller.error());
        }
    }

    return SaveBuilt(work.filePath(kInstallerOut), request.outFolder,
                     PathToQString(info.name + "-" + info.version + "-win64.exe"));
}

}  // namespace zolt
