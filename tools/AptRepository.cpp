#include "tools/AptRepository.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <set>

#include "tools/BrandToolFiles.h"
#include "tools/TemporaryGpg.h"
#include "tools/ToolProcess.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace zolt {

namespace {

constexpr ToolProgram kFtpArchive = {"apt-ftparchive", "the Debian package apt-utils"};
constexpr char kSuite[] = "stable";
constexpr char kPool[] = "pool/main";

std::string Quoted(const QString& path) {
    return "\"" + PathFromQString(path) + "\"";
}

// The name a package has in the pool, from its own control fields:
// NAME_VERSION_ARCH.deb, the version without its epoch.
Result<QString> PoolName(const QString& deb) {
    const Result<QByteArray> fields =
        RunTool({"dpkg-deb", "the Debian package dpkg"},
                {"--showformat=${Package}\\n${Version}\\n${Architecture}", "--show", deb});
    const QStringList parts = fields.ok() ? QString::fromUtf8(*fields).split('\n') : QStringList();
    static const QRegularExpression name("^[a-z0-9][a-z0-9+.-]+$");
    static const QRegularExpression version("^([0-9]+:)?([0-9][A-Za-z0-9.+~-]*)$");
    static const QRegularExpression arch("^[a-z0-9-]+$");
    const QRegularExpressionMatch v = version.match(parts.value(1));
    if (parts.size() < 3 || !name.match(parts[0]).hasMatch() || !v.hasMatch() ||
        !arch.match(parts[2]).hasMatch()) {
        return Fail(Quoted(deb) +
                    " is no Debian package with a usable name, version and "
                    "architecture" +
                    (fields.ok() ? std::string() : ": " + fields.error()));
    }
    return parts[0] + "_" + v.captured(2) + "_" + parts[2] + ".deb";
}

// Puts the packages into the pool; returns the ones added, for undoing.
Result<QStringList> AddToPool(const QDir& folder, const std::vector<std::string>& debs) {
    QStringList added;
    const auto undo = [&](const std::string& why) {
        for (const QString& file : added) {
            QFile::remove(file);
        }
        return Fail(why);
    };
    for (const std::string& path : debs) {
        const QString deb = PathToQString(path);
        const Result<QString> name = PoolName(deb);
        if (!name.ok()) {
            return undo(name.error());
        }
        const Result<std::string> bytes = ReadToolInput(path);
        if (!bytes.ok()) {
            return undo(bytes.error());
        }
        const QString target = folder.filePath(QString(kPool) + "/" + *name);
        if (QFileInfo::exists(target)) {
            const Result<std::string> published = ReadToolInput(PathFromQString(target));
            if (published.ok() && *published == *bytes) {
                continue;
            }
            return undo("the repository has published another " + PathFromQString(*name) +
                        " already; a published version never changes: give the package a new "
                        "version");
        }
        if (const Status written = WriteToolOutput(PathFromQString(target), *bytes, false);
            !written.ok()) {
            return undo(written.error());
        }
        added << target;
    }
    return added;
}

// The architectures of the pool's packages; "all" is in every list.
Result<QStringList> PoolArchitectures(const QDir& folder) {
    const Result<QByteArray> all = RunTool(kFtpArchive, {"packages", kPool}, {}, folder.path());
    if (!all.ok()) {
        return Fail(all.error());
    }
    std::set<QString> found;
    for (const QByteArray& line : all->split('\n')) {
        const QString arch = QString::fromUtf8(line).mid(14).trimmed();
        if (line.startsWith("Architecture: ") && arch != "all") {
            found.insert(arch);
        }
    }
    if (found.empty()) {
        found.insert("amd64");
    }
    return QStringList(found.begin(), found.end());
}

// The suite's lists and signed Release under `dists`, a new folder.
Status WriteSuite(const QDir& folder, const QString& dists, TemporaryGpg& gpg,
                  const std::string& fingerprint, const std::string& password) {
    const Result<QStringList> archs = PoolArchitectures(folder);
    if (!archs.ok()) {
        return Fail(archs.error());
    }
    const QString suite = dists + "/" + kSuite;
    for (const QString& arch : *archs) {
        const Result<QByteArray> list =
            RunTool(kFtpArchive, {"--arch", arch, "packages", kPool}, {}, folder.path());
        if (!list.ok()) {
            return Fail(list.error());
        }
        const QString lists = suite + "/main/binary-" + arch + "/";
        QDir().mkpath(folder.filePath(lists));
        for (const auto& [name, bytes] :
             {std::pair{"Packages", list->toStdString()},
              std::pair{"Packages.gz", GzipCompress(list->toStdString())}}) {
            if (const Status written =
                    WriteToolOutput(PathFromQString(folder.filePath(lists + name)), bytes, false);
                !written.ok()) {
                return written;
            }
        }
    }
    const QString config = "APT::FTPArchive::Release::";
    const Result<QByteArray> release =
        RunTool(kFtpArchive,
                {"-o", config + "Suite=" + kSuite, "-o", config + "Codename=" + kSuite, "-o",
                 config + "Components=main", "-o", config + "Architectures=" + archs->join(' '),
                 "release", suite},
                {}, folder.path());
    const QString releaseFile = folder.filePath(suite + "/Release");
    if (!release.ok()) {
        return Fail(release.error());
    }
    if (const Status written =
            WriteToolOutput(PathFromQString(releaseFile), release->toStdString(), false);
        !written.ok()) {
        return written;
    }
    const Status clear =
        gpg.Sign(fingerprint, password, releaseFile, folder.filePath(suite + "/InRelease"), true);
    return clear.ok() ? gpg.Sign(fingerprint, password, releaseFile,
                                 folder.filePath(suite + "/Release.gpg"), false)
                      : clear;
}

// Makes the lists and the key file beside the old ones, then swaps them in.
Status WriteIndexes(const QDir& folder, TemporaryGpg& gpg, const std::string& fingerprint,
                    const std::string& password) {
    const QString fresh = "dists.new";
    QDir(folder.filePath(fresh)).removeRecursively();
    Status written = WriteSuite(folder, fresh, gpg, fingerprint, password);
    const Result<QByteArray> key = gpg.ExportPublic(fingerprint, true);
    if (written.ok() && !key.ok()) {
        written = Fail(key.error());
    }
    if (written.ok()) {
        written = WriteToolOutput(PathFromQString(folder.filePath("archive-key.asc")),
                                  key->toStdString(), false);
    }
    if (!written.ok()) {
        QDir(folder.filePath(fresh)).removeRecursively();
        return written;
    }
    const QString old = folder.filePath("dists.old");
    QDir(old).removeRecursively();
    const bool hadLists = QFileInfo::exists(folder.filePath("dists"));
    if ((hadLists && !QDir(folder).rename("dists", "dists.old")) ||
        !QDir(folder).rename(fresh, "dists")) {
        if (hadLists) {
            QDir(folder).rename("dists.old", "dists");
        }
        QDir(folder.filePath(fresh)).removeRecursively();
        return Fail("cannot put the new lists in place in " + Quoted(folder.path()));
    }
    QDir(old).removeRecursively();
    return {};
}

}  // namespace

Result<std::string> MakeAptRepository(const AptRepositoryRequest& request) {
    if (request.debs.empty()) {
        return Fail("give at least one package to put into the repository");
    }
    TemporaryGpg gpg;
    const Result<std::string> fingerprint =
        gpg.ImportOneKey(PathToQString(request.secretKeyFile), true);
    if (!fingerprint.ok()) {
        return Fail(fingerprint.error());
    }
    const QDir folder(QFileInfo(PathToQString(request.folder)).absoluteFilePath());
    if (!QDir().mkpath(folder.filePath(kPool))) {
        return Fail("cannot make the folder " + Quoted(folder.filePath(kPool)));
    }
    const Result<QStringList> added = AddToPool(folder, request.debs);
    if (!added.ok()) {
        return Fail(added.error());
    }
    if (const Status indexed = WriteIndexes(folder, gpg, *fingerprint, request.password);
        !indexed.ok()) {
        for (const QString& file : *added) {
            QFile::remove(file);
        }
        return Fail(indexed.error());
    }
    return PathFromQString(folder.path());
}

}  // namespace zolt
