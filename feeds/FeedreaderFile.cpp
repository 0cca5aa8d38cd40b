#include "feeds/FeedreaderFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "feeds/FeedOutcome.h"
#include "util/Text.h"

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
        // A brand's package: the program in /usr/lib/NAME, the library in
        // /usr/share/NAME.
        const QDir folder(PathToQString(programDir));
        if (QFileInfo(folder.absolutePath()).dir().dirName() == "lib") {
            candidates.push_back(programDir + "/../../share/" + PathFromQString(folder.dirName()) +
                                 "/" + kFeedreaderName);
        }
    }
    for (const std::string& dir : dataDirs) {
        if (!dir.empty()) {
            candidates.push_back(dir + "/" + kSharedFeedreader);
        }
    }
    for (const std::string& path : candidates) {
        const QFileInfo info(PathToQString(path));
        if (info.isFile()) {
            return PathFromQString(QDir::cleanPath(info.absoluteFilePath()));
        }
    }
    return "";
}

std::string ProgramFeedreader(const ProgramConfig& config) {
    return config.feedreaderFile.empty() ? FindProgramFeedreader() : config.feedreaderFile;
}

std::string CodeCopiedMessage(const std::string& feedreaderFile) {
    if (feedreaderFile.empty()) {
        return kCodeCopiedMessage;
    }
    const QString folder = QFileInfo(PathToQString(feedreaderFile)).absolutePath();
    return std::string(kCodeCopiedMessage) +
           "\n\nUpload feedreader.php beside that page; this installation holds it in " +
           PathFromQString(QDir::toNativeSeparators(folder)) + ".";
}

std::string FindProgramFeedreader() {
    std::vector<std::string> dataDirs;
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        dataDirs.push_back(PathFromQString(dir));
    }
    return FindFeedreader(PathFromQString(QCoreApplication::applicationDirPath()), dataDirs);
}

}  // namespace zolt
