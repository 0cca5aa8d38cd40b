#include "feeds/PreviewSite.h"

#include <QFile>

#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

namespace {

bool WriteNewFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        qCWarning(lcFeeds) << "preview site: cannot create" << path << file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        qCWarning(lcFeeds) << "preview site: cannot write" << path << file.errorString();
        file.close();
        file.remove();
        return false;
    }
    return true;
}

}  // namespace

std::string WritePreviewSite(const std::string& siteDir, const std::string& feedreaderFile,
                             const std::string& snippet) {
    QFile library(PathToQString(feedreaderFile));
    if (!library.open(QIODevice::ReadOnly)) {
        qCWarning(lcFeeds) << "preview site: cannot read" << library.fileName()
                           << library.errorString();
        return "";
    }
    const QByteArray code = library.readAll();
    const QString dir = PathToQString(siteDir);
    const QString page = dir + "/" + kPreviewPageName;
    if (!WriteNewFile(dir + "/feedreader.php", code) ||
        !WriteNewFile(page, QByteArray::fromStdString(snippet))) {
        return "";
    }
    return PathFromQString(page);
}

ProcessCommand PhpModulesCommand(const std::string& php) {
    return {php, {"-m"}};
}

ProcessCommand PhpPageCommand(const std::string& php, const std::string& pageFile) {
    return {php,
            {"-d", "display_errors=stderr", "-d", "log_errors=0", "-d", "html_errors=0", "-f",
             pageFile}};
}

}  // namespace zolt
