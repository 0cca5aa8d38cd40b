#include "feeds/FeedreaderFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zolt {

namespace {

constexpr const char* kFeedreaderName = "feedreader.php";
constexpr const char* kSharedFeedreader = "rssfeedzolt/server/feedreader/feedreader.php";

}  // namespace

std::string FindFeedreader(const std::string& programDir,
                           const std::vector<std::string>& dataDirs) {
    std::vector<std::string> candidates;
    if (!programDir.empty()) {
        candidates.push_back(programDir + "/" + kFeedreaderName);
        candidates.push_back(programDir + "/../share/" + kSharedFeedreader);
    }
    for (const std::string& dir : dataDirs) {
        if (!dir.empty()) {
            candidates.push_back(dir + "/" + kSharedFeedreader);
        }
    }
    for (const std::string& path : candidates) {
        const QFileInfo info(QString::fromStdString(path));
        if (info.isFile()) {
            return QDir::cleanPath(info.absoluteFilePath()).toStdString();
        }
    }
    return "";
}

std::string FindProgramFeedreader() {
    std::vector<std::string> dataDirs;
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        dataDirs.push_back(dir.toStdString());
    }
    return FindFeedreader(QCoreApplication::applicationDirPath().toStdString(), dataDirs);
}

}  // namespace zolt
