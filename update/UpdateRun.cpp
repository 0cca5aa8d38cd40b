#include "update/UpdateRun.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "branding/AppVersion.h"
#include "branding/BrandSettingsFile.h"
#include "branding/BrandSettingsText.h"
#include "branding/UpdateSettings.h"
#include "net/HttpClient.h"
#include "update/Elevation.h"
#include "update/FileSwap.h"
#include "update/InstallPlan.h"
#include "update/PackageCheck.h"
#include "update/ProgramLock.h"
#include "update/UpdateDescription.h"
#include "update/UpdaterCopy.h"
#include "util/IniReader.h"
#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

namespace {

constexpr std::int64_t kMaxDescriptionSize = 1024 * 1024;
// How long the program may take to close after it started the updater.
constexpr int kProgramCloseMs = 60 * 1000;
constexpr const char* kUnbrandedName = "RSS Feed Zolt";

UpdateOutcome Outcome(UpdateOutcome::Kind kind, std::string sentence) {
    qCInfo(lcUpdate) << "updater:" << sentence.c_str();
    AppendUpdaterLog("updater: " + sentence);
    return UpdateOutcome{kind, std::move(sentence)};
}

UpdateOutcome Refused(const std::string& why) {
    return Outcome(UpdateOutcome::Kind::Refused, why);
}

std::string Nothing() {
    return " Nothing was changed.";
}

}  // namespace

UpdateRun::UpdateRun(UpdaterArguments arguments, HttpClient& http, std::string makerPublicKey,
                     Events events)
    : arguments_(std::move(arguments)),
      http_(http),
      makerPublicKey_(std::move(makerPublicKey)),
      events_(std::move(events)) {}

void UpdateRun::Cancel() {
    cancelled_ = true;
    http_.Disconnect();
}

bool UpdateRun::WaitForProgram(ProgramLock& lock) {
    const QDeadlineTimer deadline(kProgramCloseMs);
    while (!cancelled_ && !deadline.hasExpired()) {
        if (lock.TryLock(200)) {
            return true;
        }
        QCoreApplication::processEvents();
    }
    return false;
}

UpdateOutcome UpdateRun::Run() {
    const std::string& folder = arguments_.folder;
    const std::optional<std::string> settings = ReadBrandSettingsText(folder);
    productName_ = settings ? ParseBrandSettings(*settings).record.ApplicationName : "";
    if (productName_.empty()) {
        productName_ = kUnbrandedName;
    }
    programPath_ =
        folder + FromQString(QFileInfo(PathToQString(ThisSystemLayout().program)).fileName());

    Result<std::string> root = InstallRootOf(folder);
    if (!root.ok()) {
        return Refused("The update cannot be installed: " + root.error() + "." + Nothing());
    }
    events_.status("Waiting for " + productName_ + " to close...");
    ProgramLock lock(folder);
    if (!WaitForProgram(lock)) {
        return cancelled_ ? Outcome(UpdateOutcome::Kind::Cancelled,
                                    "The update was cancelled." + Nothing())
                          : Refused(productName_ +
                                    " is still running. Close it and start the "
                                    "update again." +
                                    Nothing());
    }
    if (!FolderTakesNewFiles(*root) || !FolderTakesNewFiles(folder)) {
        if (CanAskForElevation() && !arguments_.elevated) {
            return Outcome(UpdateOutcome::Kind::NeedsElevation,
                           "The folder " + *root +
                               " may only be changed by an administrator. "
                               "Windows asks you now to let the updater replace " +
                               productName_ + "'s files there.");
        }
        return Refused("This account may not change the folder " + *root +
                       ", so the update cannot be installed there." + Nothing());
    }
    // An update that a killed updater or a lost machine left half done is
    // finished or undone before anything else.
    Result<Recovery> recovered = RecoverInterruptedUpdate(*root);
    if (!recovered.ok()) {
        return Refused("An earlier update could not be undone: " + recovered.error() + ".");
    }
    if (arguments_.recoverOnly) {
        return Outcome(UpdateOutcome::Kind::Recovered,
                       *recovered == Recovery::Completed
                           ? "The interrupted update has been completed."
                           : "The interrupted update has been undone; the old version is back.");
    }
    return Install(*root, settings.value_or(""));
}

UpdateOutcome UpdateRun::Install(const std::string& root, const std::string& settingsText) {
    const std::string baseUrl = arguments_.baseUrl;
    events_.status("Looking for the new version at " + baseUrl + "...");
    const Result<std::string> described =
        http_.Download(baseUrl + kUpdateInfoFile, kMaxDescriptionSize);
    if (!described.ok()) {
        return cancelled_ ? Outcome(UpdateOutcome::Kind::Cancelled,
                                    "The update was cancelled." + Nothing())
                          : Refused("The update site could not be reached (" + described.error() +
                                    ")." + Nothing());
    }
    const std::string& info = *described;
    const std::string version = IniReader(info).ReadString("APPLICATION", "Version");
    const std::string running = arguments_.runningVersion;
    if (!IsNewerVersion(version, running) || !IsNewerVersion(version, AppVersion)) {
        return Refused("The update site offers version \"" + version +
                       "\", which is not newer than this copy's version " + running +
                       "; an update never installs an older version." + Nothing());
    }
    Result<PackageDescription> package = ReadPackageDescription(info, ThisSystemPackageSection());
    if (!package.ok()) {
        return Refused("The update site describes no package for this system: " + package.error() +
                       "." + Nothing());
    }
    Result<std::string> address = PackageAddress(baseUrl, package->file);
    const std::optional<PackageFormat> format = PackageFormatOf(package->file);
    if (!address.ok() ||
        format != (ThisSystemLayout().programFolder.empty() ? PackageFormat::Zip
                                                            : PackageFormat::TarGz)) {
        return Refused("The update site's package \"" + package->file +
                       "\" is not a package for this system." + Nothing());
    }
    Result<UpdateSite> site =
        CopyUpdateSite("", ReadUpdateSetting(settingsText, kUpdatePublicKeyKey),
                       UpdateSite{baseUrl, DecodeUpdatePublicKey(makerPublicKey_).ok()
                                               ? *DecodeUpdatePublicKey(makerPublicKey_)
                                               : std::string()});
    if (!site.ok() || site->publicKey.empty()) {
        return Refused(
            "This copy holds no key to check update packages with, so it installs "
            "none. Download version " +
            version + " from " + *address + " and install it by hand." + Nothing());
    }

    const QString downloads = PathToQString(UpdaterCacheFolder());
    QDir().mkpath(downloads);
    QTemporaryDir work(downloads + "/download-XXXXXX");
    QFile file(work.filePath("package"));
    if (!work.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return Refused("The package cannot be downloaded: no room in " + FromQString(downloads) +
                       "." + Nothing());
    }
    events_.status("Downloading version " + version + "...");
    const Status downloaded = http_.DownloadInto(
        *address, package->size,
        [&file](const char* data, std::int64_t size) { return file.write(data, size) == size; },
        events_.progress);
    if (!downloaded.ok()) {
        return cancelled_ ? Outcome(UpdateOutcome::Kind::Cancelled,
                                    "The update was cancelled." + Nothing())
                          : Refused("The package could not be downloaded (" + downloaded.error() +
                                    ")." + Nothing());
    }
    file.close();

    events_.status("Checking the package...");
    const std::string packagePath = FromQString(file.fileName());
    if (Status checked = CheckPackageFile(packagePath, *package, site->publicKey); !checked.ok()) {
        return Refused("The package was refused: " + checked.error() + "." + Nothing());
    }
    Result<InstallPlan> plan =
        PlanInstall(packagePath, *format, root, BrandFileNames(settingsText));
    if (!plan.ok()) {
        return Refused("The package was refused: " + plan.error() + "." + Nothing());
    }
    if (VersionNumber(plan->version) != VersionNumber(version)) {
        return Refused("The package holds version " + plan->version + ", not the " + version +
                       " that the update site announced." + Nothing());
    }
    if (cancelled_) {
        return Outcome(UpdateOutcome::Kind::Cancelled, "The update was cancelled." + Nothing());
    }

    events_.status("Unpacking version " + version + "...");
    Result<std::filesystem::path> staging = PrepareStaging(root);
    Status staged = staging.ok() ? StagePackage(packagePath, *format, *plan, *staging)
                                 : Status(Fail(staging.error()));
    if (!staged.ok()) {
        DiscardStaging(root);
        return Refused("The new files could not be unpacked: " + staged.error() + "." + Nothing());
    }
    events_.cancellable(false);
    events_.status("Replacing the program's files...");
    if (Status swapped = SwapInStagedFiles(root, SwapListOf(*plan)); !swapped.ok()) {
        return Refused("The update could not be installed: " + swapped.error() +
                       ". The version you had is kept as it was.");
    }
    return Outcome(UpdateOutcome::Kind::Installed,
                   "Version " + version + " of " + productName_ + " is installed.");
}

}  // namespace zolt
