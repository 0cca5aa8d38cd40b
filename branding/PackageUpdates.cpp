#include "branding/PackageUpdates.h"

#include <QFileInfo>

#include "util/Files.h"
#include "util/Text.h"
#include "util/WebAddress.h"

namespace zolt {

PackageUpdates ReadPackageUpdates(const std::string& baseDir, const std::string& appHelpUrl) {
    PackageUpdates updates;
    updates.fromRepository =
        QFileInfo(PathToQString(FileBeside(baseDir, kRepositoryMarkerFile))).isFile();
    const std::string site = BrowserAddress(Trim(appHelpUrl)).value_or("");
    updates.site = site.rfind("http", 0) == 0 ? site : std::string();
    return updates;
}

std::string PackageUpdateText(const std::string& versionText, const PackageUpdates& updates) {
    const std::string available =
        "A new version (" + versionText + ") of this application is available. ";
    if (updates.fromRepository) {
        return available +
               "Your system's package manager installs it with the next update of your "
               "system's packages.";
    }
    return available + "Download it from " +
           (updates.site.empty() ? std::string("the site you got this application from")
                                 : updates.site) +
           " and install it with your system's package manager.";
}

}  // namespace zolt
