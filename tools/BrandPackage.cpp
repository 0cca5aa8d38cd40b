#include "tools/BrandPackage.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>
#include <vector>

#include "branding/BrandSettingsText.h"
#include "branding/IconPictures.h"
#include "branding/PackageUpdates.h"
#include "tools/BrandSource.h"
#include "tools/PackageDocs.h"
#include "tools/PackageName.h"
#include "tools/PackageScripts.h"
#include "tools/PackageStage.h"
#include "tools/PackageText.h"
#include "tools/TemporaryGpg.h"
#include "tools/ToolProcess.h"
#include "util/Text.h"
#include "util/WebAddress.h"
#include "util/Zlib.h"

namespace zolt {

namespace {

constexpr char kBaseName[] = "rssfeedzolt";
constexpr int kIconSizes[] = {48, 64, 128, 256};
constexpr int kMaxSummaryChars = 80;

std::string Quoted(const QString& path) {
    return "\"" + PathFromQString(path) + "\"";
}

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// dpkg-deb with `args`; its standard output, or its complaint.
Result<std::string> DpkgDeb(const QStringList& args) {
    const Result<QByteArray> output = RunTool({"dpkg-deb", "the Debian package dpkg"}, args);
    if (!output.ok()) {
        return Fail(output.error());
    }
    return output->toStdString();
}

// The base package's control fields that the brand's package takes over.
Result<std::map<std::string, std::string>> BaseFields(const QString& deb) {
    const QStringList names = {"Version", "Architecture", "Depends",    "Recommends",
                               "Section", "Priority",     "Description"};
    std::map<std::string, std::string> fields;
    const Result<std::string> output = DpkgDeb(QStringList{"--field", deb} + names);
    if (!output.ok()) {
        return Fail(output.error());
    }
    for (const QString& line : ToQString(*output).split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        // Continuation lines (the long description) start with a blank.
        if (line.startsWith(' ') || colon <= 0 || !names.contains(line.left(colon))) {
            continue;
        }
        fields[FromQString(line.left(colon))] = OneLine(FromQString(line.mid(colon + 2)));
    }
    static const QRegularExpression version("^[0-9][A-Za-z0-9.+~:-]*$");
    static const QRegularExpression architecture("^[a-z0-9-]+$");
    if (!version.match(ToQString(fields["Version"])).hasMatch() ||
        !architecture.match(ToQString(fields["Architecture"])).hasMatch()) {
        return Fail(Quoted(deb) + " has no usable Version or Architecture");
    }
    return fields;
}

// The biggest picture of the brand's Windows icon, read as the program reads
// it; a null image when none can be read.
QImage LargestIcon(const QString& path) {
    QImage best;
    for (const QImage& picture : ReadIconPictures(path).pictures) {
        if (picture.width() * picture.height() > best.width() * best.height()) {
            best = picture;
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

// The base package's release: the <releases> element for the brand's
// metainfo (empty when its metainfo has none of the plain form) and its day.
struct BaseRelease {
    std::string element;
    QDate date;
};

BaseRelease ReadBaseRelease(const QString& base) {
    QFile file(base + "/usr/share/metainfo/com.rssfeedzolt.rssfeedzolt.metainfo.xml");
    file.open(QIODevice::ReadOnly);
    static const QRegularExpression release(
        R"re(<release version="[0-9][0-9A-Za-z.+~-]*" date="([0-9]{4}-[0-9]{2}-[0-9]{2})"/>)re");
    const QRegularExpressionMatch found = release.match(QString::fromUtf8(file.read(1 << 20)));
    if (!found.hasMatch()) {
        return {};
    }
    return {"  <releases>\n    " + FromQString(found.captured()) + "\n  </releases>\n",
            QDate::fromString(found.captured(1), Qt::ISODate)};
}

// The day of the release in the form of a Debian changelog's trailer.
std::string ChangelogDate(const QDate& release) {
    const QDate day = release.isValid() ? release : QDate::currentDate();
    return FromQString(QLocale::c().toString(day, "ddd, dd MMM yyyy")) + " 00:00:00 +0000";
}

Result<std::string> Summary(const BrandPackageRequest& request, const std::string& baseSummary) {
    std::string summary = OneLine(request.summary.empty() ? baseSummary : request.summary);
    while (!summary.empty() && summary.back() == '.') {
        summary.pop_back();
    }
    if (summary.empty() || ToQString(summary).size() > kMaxSummaryChars) {
        return Fail("the summary must be one line of 1 to " + std::to_string(kMaxSummaryChars) +
                    " characters");
    }
    return summary;
}

// What the package says about the brand, from its settings and the request;
// the summary comes later, with the base package.
Result<BrandPackageInfo> PackageInfo(const BrandPackageRequest& request,
                                     const BrandSettingsRecord& record) {
    BrandPackageInfo info;
    info.product = OneLine(record.ApplicationName);
    const Result<std::string> name = BrandPackageName(request.name, info.product);
    if (!name.ok()) {
        return Fail(name.error());
    }
    info.name = *name;
    if (!IsMaintainer(request.maintainer)) {
        return Fail(
            "give the package's maintainer, you, with --maintainer \"NAME <ADDRESS>\" "
            "(one line, a mail address in angle brackets, no comma)");
    }
    info.maintainer = request.maintainer;
    if (!request.repository.empty() &&
        (!IsRepositoryAddress(request.repository) || request.keyFile.empty())) {
        return Fail(
            "give the repository as an http or https address without query or blanks, "
            "with its public key (--key KEY.asc)");
    }
    if (request.repository.empty() != request.keyFile.empty()) {
        return Fail("--key goes with --repository");
    }
    info.developer = OneLine(record.CopyrightCompany);
    if (info.developer.empty()) {
        info.developer = info.product;
    }
    info.paragraphs = Paragraphs(record.AboutText);
    if (info.paragraphs.empty()) {
        info.paragraphs = {info.product +
                           " writes PHP code that shows live news and eBay feeds on web pages."};
    }
    // The help address names the brand's own site; a mail address does not.
    const std::string site = BrowserAddress(Trim(record.AppHelpURL)).value_or("");
    info.homepage = site.rfind("http", 0) == 0 ? site : std::string();
    info.componentId = ComponentId(info.homepage, record.BranderCode, info.name);
    return info;
}

// Everything of the package but DEBIAN/: the base package's program and
// feedreader.php under the brand's names, the brand's files and documents.
Status StagePackage(PackageStage& stage, const BrandPackageInfo& info, const QString& base,
                    const QString& brandFolder, const QStringList& brandFiles,
                    const std::map<std::string, std::string>& baseFields,
                    const std::string& years) {
    const QString name = PathToQString(info.name);
    const QString lib = "usr/lib/" + name + "/";
    stage.Copy(base + "/usr/lib/" + kBaseName + "/" + kBaseName, lib + name);
    stage.Write(lib + "installed-by-package",
                "This program was installed by the system's package manager, which owns this\n"
                "folder and brings the updates.\n");
    stage.Link("../lib/" + name + "/" + name, "usr/bin/" + name);
    for (const QString& file : brandFiles) {
        const QString path = brandFolder + "/" + file;
        if (file == "dbsettings.dat" || QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
            stage.Copy(path, lib + file);
        }
    }
    stage.Copy(base + "/usr/share/" + kBaseName + "/server/feedreader/feedreader.php",
               "usr/share/" + name + "/feedreader.php");
    // The stage's own failures come first, as they happened first.
    const Status icons = AddIcons(stage, brandFolder, base, name);
    if (!stage.status().ok() || !icons.ok()) {
        return !stage.status().ok() ? stage.status() : icons;
    }
    const BaseRelease release = ReadBaseRelease(base);
    const std::string version = baseFields.at("Version");
    const QString doc = "usr/share/doc/" + name + "/";
    // Debian wants a year in the notice: the release's, when the brand names none.
    const std::string notice = !OneLine(years).empty()  ? years
                               : release.date.isValid() ? std::to_string(release.date.year())
                                                        : std::string();
    stage.Write(doc + "copyright", Bytes(CopyrightText(info, notice)));
    stage.Write(doc + "changelog.gz",
                Bytes(GzipCompress(ChangelogText(info, version, ChangelogDate(release.date)))));
    stage.Write("usr/share/man/man1/" + name + ".1.gz",
                Bytes(GzipCompress(ManPageText(info, version))));
    stage.Write("usr/share/applications/" + name + ".desktop", Bytes(DesktopEntryText(info)));
    stage.Write("usr/share/metainfo/" + PathToQString(info.componentId) + ".metainfo.xml",
                Bytes(MetainfoText(info, release.element)));
    return stage.status();
}

// The repository's keyring and the marker that tells the program of it;
// the scripts that add and remove its sources entry come with DEBIAN/.
Status StageRepository(PackageStage& stage, const BrandPackageRequest& request,
                       const std::string& name) {
    TemporaryGpg gpg;
    const Result<std::string> key = gpg.ImportOneKey(PathToQString(request.keyFile), false);
    const Result<QByteArray> keyring =
        key.ok() ? gpg.ExportPublic(*key, false) : Result<QByteArray>(Fail(key.error()));
    if (!keyring.ok()) {
        return Fail(keyring.error());
    }
    stage.Write(PathToQString(RepositoryKeyring(name).substr(1)), *keyring);
    stage.Write(PathToQString("usr/lib/" + name + "/" + kRepositoryMarkerFile),
                Bytes("Updates come from the apt repository " + request.repository + "\n"));
    return stage.status();
}

}  // namespace

Result<std::string> MakeBrandPackage(const BrandPackageRequest& request) {
    const QString brandFolder = PathToQString(request.brandFolder);
    const QString baseDeb = QFileInfo(PathToQString(request.baseDeb)).absoluteFilePath();
    const Result<ParsedBrandSettings> brand = ReadBrandFolder(brandFolder);
    if (!brand.ok()) {
        return Fail(brand.error());
    }
    if (OneLine(brand->record.ApplicationName).empty()) {
        return Fail("the brand's settings name no product (ApplicationName is empty)");
    }
    Result<BrandPackageInfo> checked = PackageInfo(request, brand->record);
    if (!checked.ok()) {
        return Fail(checked.error());
    }
    BrandPackageInfo info = std::move(checked).value();
    const Result<QStringList> brandFiles = CheckedBrandFileNames(brandFolder);
    if (!brandFiles.ok()) {
        return Fail(brandFiles.error());
    }
    const Result<std::map<std::string, std::string>> fields = BaseFields(baseDeb);
    if (!fields.ok()) {
        return Fail(fields.error());
    }
    const Result<std::string> summary = Summary(request, fields->at("Description"));
    if (!summary.ok()) {
        return Fail(summary.error());
    }
    info.summary = *summary;

    QTemporaryDir work;
    if (!work.isValid()) {
        return Fail("no temporary folder: " + FromQString(work.errorString()));
    }
    const QString base = work.filePath("base");
    if (const Result<std::string> extracted = DpkgDeb({"--extract", baseDeb, base});
        !extracted.ok()) {
        return extracted;
    }
    PackageStage stage(work.filePath("package"));
    const Status staged = StagePackage(stage, info, base, brandFolder, *brandFiles, *fields,
                                       brand->record.CopyrightYears);
    if (!staged.ok()) {
        return Fail(staged.error());
    }
    if (!request.repository.empty()) {
        if (const Status repository = StageRepository(stage, request, info.name);
            !repository.ok()) {
            return Fail(repository.error());
        }
    }
    QStringList programs = {"usr/lib/" + PathToQString(info.name + "/" + info.name)};
    const auto [kib, sums] = stage.Finish(programs);
    stage.Write("DEBIAN/control", Bytes(ControlText(info, *fields, kib)));
    stage.Write("DEBIAN/md5sums", sums);
    if (!request.repository.empty()) {
        stage.Write("DEBIAN/postinst", Bytes(PostinstText(info.name, request.repository)));
        stage.Write("DEBIAN/postrm", Bytes(PostrmText(info.name)));
        programs << "DEBIAN/postinst"
                 << "DEBIAN/postrm";
    }
    stage.Finish(programs);
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
                     PathToQString(info.name + "_" + fields->at("Version") + "_" +
                                   fields->at("Architecture") + ".deb"));
}

}  // namespace zolt
