#include "update/StartupRecovery.h"

#include <QFileInfo>

#include "branding/AppVersion.h"
#include "update/FileSwap.h"
#include "update/InstallPlan.h"
#include "update/ProgramLock.h"
#include "update/UpdaterArguments.h"
#include "util/Files.h"
#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

namespace {

constexpr const char* kUpdateUnderWay =
    "An update of this program is being installed. Start the program again when the update "
    "has finished.";

}  // namespace

bool RecoverUpdateAtStart(const ProgramConfig& config, const Services& services,
                          const MessageAnswer& ask, ProgramLock& lock) {
    const Result<std::string> root = InstallRootOf(config.baseDir);
    if (!root.ok()) {
        return true;  // a system package or a build tree: no updater here
    }
    const bool pending = QFileInfo::exists(PathToQString(*root + kUpdateWorkFolder));
    if (!lock.TryLock(0)) {
        // Another copy of the program runs, or an updater is at work.
        if (pending && ask) {
            ask(MessageKind::Information, kUpdateUnderWay);
            return false;
        }
        return true;
    }
    if (!pending) {
        return true;
    }
    if (!FolderTakesNewFiles(*root) || config.packageInstall) {
        UpdaterArguments recover;
        recover.baseUrl = config.updateBaseUrl;
        recover.runningVersion = AppVersion;
        recover.recoverOnly = true;
        lock.Unlock();
        qCWarning(lcUpdate) << "an interrupted update needs the updater's rights to be undone";
        return !services.startDetached(
            FileBeside(
                config.baseDir,
                PathFromQString(QFileInfo(PathToQString(ThisSystemLayout().updater)).fileName())),
            UpdaterArgumentList(recover));
    }
    const Result<Recovery> recovered = RecoverInterruptedUpdate(*root);
    if (!recovered.ok()) {
        qCWarning(lcUpdate) << "an interrupted update could not be undone:"
                            << recovered.error().c_str();
    } else {
        qCInfo(lcUpdate) << "interrupted update:"
                         << (*recovered == Recovery::Completed    ? "completed"
                             : *recovered == Recovery::RolledBack ? "undone"
                                                                  : "cleared");
    }
    return true;
}

}  // namespace zolt
