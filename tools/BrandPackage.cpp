#include "tools/BrandPackage.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <map>
#include <vector>

#include "branding/BrandSettingsText.h"
#include "tools/BrandSource.h"
#include "tools/PackageStage.h"
#include "tools/PackageText.h"

namespace zolt {

namespace {

constexpr char kBaseName[] = "rssfeedzolt";
constexpr int kIconSizes[] = {48, 64, 128, 256};
constexpr int kMaxSummaryChars = 80;

std::string Quoted(const QString& path) {
    return "\"" + path.toStdString() + "\"";
}

// dpkg-deb with `args`; its standard output, or its complaint.
Result<std::string> DpkgDeb(const QStringList& args) {
    const QString program = QStandardPaths::findExecutable("dpkg-deb");
    if (program.isEmpty()) {
        return Fail("dpkg-deb is missing (it comes with the Debian package dpkg)");
    }
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(10 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return Fail("dpkg-deb " + args.front().toStdString() +
                    " failed: " + process.readAllStandardError().trimmed().toStdString());
    }
    return process.readAllStandardOutput().toStdString();
}

// The base package's control fields that the brand's package takes over.
Result<std::map<std::string, std::string>> BaseFields(const QString& deb) {
    const QStringList names = {"Version",    "Architecture", "Maintainer", "Depends",
                               "Recommends", "Section",      "Priority",   "Description"};
    std::map<std::string, std::string> fields;
    const Result<std::string> output = DpkgDeb(QStringList{"--field", deb} + names);
    if (!output.ok()) {
        return Fail(output.error());
    }
    const QString text = QString::fromStdString(*output);
    for (const QString& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        // Continuation lines (the long description) start with a blank.
        if (line.startsWith(' ') || colon <= 0 || !names.contains(line.left(colon))) {
            continue;
        }
        fields[line.left(colon).toStdString()] = OneLine(line.mid(colon + 2).toStdString());
    }
    static const QRegularExpression version("^[0-9][A-Za-z0-9.+~:-]*$");
    static const QRegularExpression architecture("^[a-z0-9-]+$");
    if (!version.match(QString::fromStdString(fields["Version"])).hasMatch() ||
        !architecture.match(QString::fromStdString(fields["Architecture"])).hasMatch()) {
        return Fail(Quoted(deb) + " has no usable Version or Architecture");
    }
    return fields;
}

// The biggest picture of the brand's Windows icon; a null image when none
// can be read.
QImage LargestIcon(const QString& path) {
    QImageReader reader(path, "ico");
    reader.setAutoDetectImageFormat(false);
    QImage best;
    const int count = std::max(reader.imageCount(), 1);
    for (int n = 0; n < count; ++n) {
        if (n > 0 && !reader.jumpToImage(n)) {
            break;
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            break;
        }
        if (image.width() * image.height() > best.width() * best.height()) {
            best = image;
        }
    }
    return best;
}

QByteArray Png(const QImage& icon, int size) {
    QImage square(size, size, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    const QImage scaled = icon.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter(&square).drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    square.save(&buffer, "png");
    return bytes;
}

Status AddIcons(PackageStage& stage, const QString& brandFolder, const QString& base,
                const QString& name) {
    const QString ico = brandFolder + "/main.ico";
    if (!QFileInfo::exists(ico)) {
        // Without an icon of its own the brand shows the program's.
        for (const int size : kIconSizes) {
            const QString folder = QString("usr/share/icons/hicolor/%1x%1/apps/").arg(size);
            stage.Copy(base + "/" + folder + kBaseName + ".png", folder + name + ".png");
        }
        stage.Copy(base + "/usr/share/icons/hicolor/scalable/apps/" + kBaseName + ".svg",
                   "usr/share/icons/hicolor/scalable/apps/" + name + ".svg");
        return {};
    }
    const QImage icon = LargestIcon(ico);
    if (icon.isNull()) {
        return Fail(Quoted(ico) + " holds no picture of a Windows icon");
    }
    for (const int size : kIconSizes) {
        stage.Write(QString("usr/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(name),
                    Png(icon, size));
    }
    return {};
}

// The base package's release line for the brand's metainfo; empty when its
// metainfo has none of the plain form.
std::string BaseRelease(const QString& base) {
    QFile file(base + "/usr/share/metainfo/com.rssfeedzolt.rssfeedzolt.metainfo.xml");
    file.open(QIODevice::ReadOnly);
    static const QRegularExpression release(
        R"(<release version="[0-9][0-9A-Za-z.+~-]*" date="[0-9]{4}-[0-9]{2}-[0-9]{2}"/>)");
    const QRegularExpressionMatch found = release.match(QString::fromUtf8(file.read(1 << 20)));
    return found.hasMatch()
               ? "  <releases>\n    " + found.captured().toStdString() + "\n  </releases>\n"
               : std::string();
}

// The standard output of `program` with `args` (never through a shell);
// empty when the program is missing or fails.
QString Output(const QString& program, const QStringList& args) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        return QString();
    }
    QProcess process;
    process.start(path, args);
    if (!process.waitForFinished(60 * 1000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What on this machine already has the name `name`, in words; empty when
// nothing does. A package of that name would replace the system's own (a
// brand named "Bash" would install as a downgrade of the shell) and its
// command would take the place of another. An earlier package of the same
// brand, installed here, is no other package.
std::string NameTakenBy(const QString& name) {
    const QString ours = "/usr/lib/" + name + "/" + kBaseName;
    const QString installed = Output("dpkg-query", {"--listfiles", name});
    if (installed.split('\n').contains(ours)) {
        return std::string();
    }
    if (!installed.isEmpty() || !Output("dpkg-query", {"--show", name}).isEmpty()) {
        return "a package that dpkg knows";
    }
    if (Output("apt-cache", {"showpkg", name}).startsWith("Package: ")) {
        return "a package that apt knows";
    }
    const QString command = QStandardPaths::findExecutable(name);
    if (!command.isEmpty() ||
        !QStandardPaths::findExecutable(name, {"/usr/bin", "/bin"}).isEmpty()) {
        return "the command " + (command.isEmpty() ? "/usr/bin/" + name : command).toStdString();
    }
    return std::string();
}

Result<std::string> PackageName(const BrandPackageRequest& request, const std::string& product) {
    const std::string name = request.name.empty() ? PackageNameFor(product) : request.name;
    const std::string source = request.name.empty() ? "the product name \"" + product + "\" gives"
                                                    : "\"" + request.name + "\" is";
    if (!IsPackageName(name) || name == kBaseName) {
        return Fail("no package name: " + source +
                    " none; give one of lower-case letters, digits and \"-\" with --name (not \"" +
                    kBaseName + "\")");
    }
    if (const std::string taken = NameTakenBy(QString::fromStdString(name)); !taken.empty()) {
        return Fail("the package name \"" + name + "\" is taken on this machine by " + taken +
                    "; give another one with --name");
    }
    return name;
}

Result<std::string> Summary(const BrandPackageRequest& request, const std::string& baseSummary) {
    std::string summary = OneLine(request.summary.empty() ? baseSummary : request.summary);
    while (!summary.empty() && summary.back() == '.') {
        summary.pop_back();
    }
    if (summary.empty() || QString::fromStdString(summary).size() > kMaxSummaryChars) {
        return Fail("the summary must be one line of 1 to " + std::to_string(kMaxSummaryChars) +
                    " characters");
    }
    return summary;
}

}  // namespace

Result<std::string> MakeBrandPackage(const BrandPackageRequest& request) {
    const QString brandFolder = QString::fromStdString(request.brandFolder);
    const QString baseDeb = QFileInfo(QString::fromStdString(request.baseDeb)).absoluteFilePath();
    const Result<ParsedBrandSettings> brand = ReadBrandFolder(brandFolder);
    if (!brand.ok()) {
        return Fail(brand.error());
    }
    const std::string product = OneLine(brand->record.ApplicationName);
    if (product.empty()) {
        return Fail("the brand's settings name no product (ApplicationName is empty)");
    }
    const Result<std::string> name = PackageName(request, product);
    if (!name.ok()) {
        return name;
    }
    const Result<QStringList> checkedFiles = CheckedBrandFileNames(brandFolder);
    if (!checkedFiles.ok()) {
        return Fail(checkedFiles.error());
    }
    const QStringList& brandFiles = *checkedFiles;
    Result<std::map<std::string, std::string>> baseFields = BaseFields(baseDeb);
    if (!baseFields.ok()) {
        return Fail(baseFields.error());
    }
    std::map<std::string, std::string> fields = std::move(baseFields).value();
    const Result<std::string> summary = Summary(request, fields["Description"]);
    if (!summary.ok()) {
        return summary;
    }
    BrandPackageInfo info{*name, product, *summary, OneLine(brand->record.CopyrightCompany),
                          Paragraphs(brand->record.AboutText)};
    if (info.developer.empty()) {
        info.developer = product;
    }
    if (info.paragraphs.empty()) {
        info.paragraphs = {product +
                           " writes PHP code that shows live news and eBay feeds on web pages."};
    }

    QTemporaryDir work;
    if (!work.isValid()) {
        return Fail("no temporary folder: " + work.errorString().toStdString());
    }
    const QString base = work.filePath("base");
    if (const Result<std::string> extracted = DpkgDeb({"--extract", baseDeb, base});
        !extracted.ok()) {
        return extracted;
    }
    const QString baseLib = base + "/usr/lib/" + kBaseName + "/";
    PackageStage stage(work.filePath("package"));
    const QString q = QString::fromStdString(*name);
    const QString lib = "usr/lib/" + q + "/";
    stage.Copy(baseLib + kBaseName, lib + kBaseName);
    stage.Copy(baseLib + "installed-by-package", lib + "installed-by-package");
    stage.Link("../lib/" + q + "/" + kBaseName, "usr/bin/" + q);
    for (const QString& file : brandFiles) {
        const QString path = brandFolder + "/" + file;
        if (file == "dbsettings.dat" || QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
            stage.Copy(path, lib + file);
        }
    }
    // The stage's own failures come first, as they happened first.
    const Status icons = AddIcons(stage, brandFolder, base, q);
    if (!stage.status().ok() || !icons.ok()) {
        return Fail(!stage.status().ok() ? stage.status().error() : icons.error());
    }
    const QString doc = "usr/share/doc/" + q + "/";
    stage.Copy(base + "/usr/share/doc/rssfeedzolt/copyright", doc + "copyright");
    stage.Copy(base + "/usr/share/doc/rssfeedzolt/changelog.gz", doc + "changelog.gz");
    stage.Copy(base + "/usr/share/man/man1/rssfeedzolt.1.gz", "usr/share/man/man1/" + q + ".1.gz");
    stage.Write("usr/share/applications/" + q + ".desktop",
                QByteArray::fromStdString(DesktopEntryText(info)));
    stage.Write("usr/share/metainfo/" + QString::fromStdString(MetainfoId(*name)) + ".metainfo.xml",
                QByteArray::fromStdString(MetainfoText(info, BaseRelease(base))));
    const auto [kib, sums] = stage.Finish(lib + kBaseName);
    stage.Write("DEBIAN/control", QByteArray::fromStdString(ControlText(info, fields, kib)));
    stage.Write("DEBIAN/md5sums", sums);
    stage.Finish(lib + kBaseName);
    if (!stage.status().ok()) {
        return Fail(stage.status().error());
    }

    // Built beside the stage, then saved under its name.
    const QString built = work.filePath("built.deb");
    if (const Result<std::string> done =
            DpkgDeb({"--root-owner-group", "--build", stage.Path(""), built});
        !done.ok()) {
        return done;
    }
    return SaveBuilt(built, request.outFolder,
                     q + "_" + QString::fromStdString(fields["Version"]) + "_" +
                         QString::fromStdString(fields["Architecture"]) + ".deb");
}

}  // namespace zolt
