#include "update/StartupRecovery.h"

#include <QFileInfo>

#include "branding/AppVersion.h"
#include "update/FileSwap.h"
#include "update/InstallPlan.h"
#include "update/ProgramLock.h"
#include "update/UpdaterArguments.h"
#include "util/Files.h"
#include "util/Logging.h"

namespace zolt {

namespace {

constexpr const char* kUpdateUnderWay =
    "An update of this program is being installed. Start the program again when the update "
    "has finished.";

}  // namespace

bool RecoverUpdateAtStart(const Services& services, ProgramLock& lock) {
    const Result<std::string> root = InstallRootOf(services.baseDir);
    if (!root.ok()) {
        return true;  // a system package or a build tree: no updater here
    }
    const bool pending = QFileInfo::exists(QString::fromStdString(*root + kUpdateWorkFolder));
    if (!lock.TryLock(0)) {
        // Another copy of the program runs, or an updater is at work.
        if (pending && services.showMessage) {
            services.showMessage(MessageKind::Information, kUpdateUnderWay);
            return false;
        }
        return true;
    }
    if (!pending) {
        return true;
    }
    if (!FolderTakesNewFiles(*root) || services.packageInstall) {
        UpdaterArguments recover;
        recover.baseUrl = services.updateBaseUrl;
        recover.runningVersion = AppVersion;
        recover.recoverOnly = true;
        lock.Unlock();
        qCWarning(lcUpdate) << "an interrupted update needs the updater's rights to be undone";
        return !services.startDetached(
            FileBeside(services.baseDir,
                       QFileInfo(QString::fromStdString(ThisSystemLayout().updater))
                           .fileName()
                           .toStdString()),
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
