#include "news/UpdateCheck.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "util/Files.h"
#include "util/IniReader.h"
#include "util/Logging.h"
#include "util/SafeSave.h"
#include "util/Text.h"

namespace zolt {

std::string NewUpdateQuestion(const std::string& versionText) {
    return "There is a new update: (version " + versionText +
           ") available for your application!. Do you want download this update now?";
}

std::string PackageUpdateMessage(const std::string& versionText) {
    return "A new version (" + versionText +
           ") of this application is available. Your system's package manager installs it "
           "with the next update of your system's packages.";
}

std::string CouldNotCheckMessage(const std::string& reason) {
    return "Could not check for updates: " + reason + ".";
}

std::string NoUpdateKeyMessage(const std::string& versionText, const std::string& address) {
    return "A new version (" + versionText +
           ") is available, but this copy holds no key to check update packages with, so it "
           "cannot install it by itself. Download it from " +
           address + " and install it by hand.";
}

Result<UpdateInfoDownload> DownloadUpdateInfo(HttpClient& http, const std::string& url,
                                              const std::string& path) {
    if (!path.empty()) {
        RemoveFileName(path);
    }
    QCoreApplication::processEvents();
    Result<std::string> downloaded = http.Download(url, kMaxUpdateFileSize);
    if (!downloaded.ok()) {
        qCInfo(lcNews) << "update description not downloaded:" << downloaded.error().c_str();
        // A cut-short call may have lost its client with the window.
        if (downloaded.quiet()) {
            return Fail(downloaded.error());
        }
        http.CloseIdleConnections();
        return UpdateInfoDownload{std::nullopt, downloaded.error()};
    }
    http.CloseIdleConnections();
    std::string body = std::move(downloaded).value();
    // The copy beside the program is for the curious; a folder that does not
    // take it (a read-only install) changes nothing about the check.
    if (!path.empty() && !SaveFileReplacing(path, body)) {
        qCInfo(lcNews) << "update description not kept beside the program";
    }
    return UpdateInfoDownload{std::move(body), ""};
}

UpdateFinding FindUpdate(HttpClient& http, const std::string& baseUrl,
                         const std::string& infoPath) {
    using K = UpdateFinding::Kind;
    const Result<UpdateInfoDownload> info =
        DownloadUpdateInfo(http, baseUrl + kUpdateInfoFile, infoPath);
    if (!info.ok()) {
        return UpdateFinding{K::Aborted, "", info.error(), ""};
    }
    if (!info->text) {
        return UpdateFinding{
            K::CouldNotCheck, "",
            "the update site " + baseUrl + " did not answer (" + info->failure + ")", ""};
    }
    const std::string version = IniReader(*info->text).ReadString("APPLICATION", "Version");
    if (!IsNewerVersion(version)) {
        return UpdateFinding{K::NoUpdate, version, "", ""};
    }
    // Where to get it by hand: this system's package, else the site itself.
    const Result<PackageDescription> package =
        ReadPackageDescription(*info->text, ThisSystemPackageSection());
    const Result<std::string> address =
        package.ok() ? PackageAddress(baseUrl, package->file) : Result<std::string>(baseUrl);
    return UpdateFinding{K::NewVersion, version, "", address.ok() ? *address : baseUrl};
}

namespace {

enum Stage { kStart, kOffered, kClosing, kFinal };

}  // namespace

UpdateConversation::UpdateConversation(UpdateFinding finding, UpdateContext context)
    : finding_(std::move(finding)), context_(context) {
    Advance();
}

void UpdateConversation::Show(MessageKind box, std::string text, int next) {
    step_ = Step{Step::Kind::Show, box, std::move(text)};
    stage_ = next;
}

void UpdateConversation::Answer(bool ok) {
    if (step_.kind == Step::Kind::Done) {
        return;
    }
    if (!ok && (stage_ == kOffered || stage_ == kClosing)) {
        result_ = UpdateCheckResult::Declined;
        stage_ = kFinal;
    }
    Advance();
}

void UpdateConversation::Advance() {
    using F = UpdateFinding::Kind;
    using R = UpdateCheckResult;
    step_ = Step{};
    switch (stage_) {
        case kStart:
            if (finding_.kind == F::Aborted) {
                result_ = R::Aborted;
            } else if (finding_.kind != F::NewVersion) {
                result_ = R::NoUpdate;
                if (!context_.silent) {
                    Show(MessageKind::Information,
                         finding_.kind == F::CouldNotCheck ? CouldNotCheckMessage(finding_.reason)
                                                           : kNoUpdateMessage,
                         kFinal);
                }
            } else if (context_.packageInstall) {
                result_ = R::PackageManaged;
                Show(MessageKind::Information, PackageUpdateMessage(finding_.version), kFinal);
            } else {
                Show(MessageKind::Question, NewUpdateQuestion(finding_.version), kOffered);
            }
            return;
        case kOffered:
            if (!context_.updaterPresent) {
                result_ = R::UpdaterMissing;
                Show(MessageKind::Warning, kUpdaterMissingMessage, kFinal);
            } else if (!context_.hasKey) {
                result_ = R::NoUpdateKey;
                Show(MessageKind::Information,
                     NoUpdateKeyMessage(finding_.version, finding_.address), kFinal);
            } else {
                Show(MessageKind::Question, kUpdateCloseQuestion, kClosing);
            }
            return;
        case kClosing:
            result_ = R::CloseForUpdate;
            stage_ = kFinal;
            return;
        default:
            return;
    }
}

UpdateCheckResult CheckForUpdate(const ProgramConfig& config, const Services& services,
                                 const MessageAnswer& ask, HttpClient& http,
                                 const BrandSettingsRecord& brand, bool silent) {
    const Result<std::string> makerKey = DecodeUpdatePublicKey(config.updatePublicKey);
    const Result<UpdateSite> site =
        CopyUpdateSite(brand.UpdateBaseURL, brand.UpdatePublicKey,
                       UpdateSite{config.updateBaseUrl, makerKey.ok() ? *makerKey : ""});
    UpdateFinding finding;
    if (!site.ok()) {
        qCWarning(lcNews) << "update settings refused:" << site.error().c_str();
        finding = UpdateFinding{UpdateFinding::Kind::CouldNotCheck, "",
                                "the settings file's " + site.error(), ""};
    } else {
        // No copy where the program may not write, a package install included.
        const std::string infoPath = ProgramFolderWritable(config)
                                         ? FileBeside(config.baseDir, kUpdateInfoFile)
                                         : std::string();
        finding = FindUpdate(http, site->baseUrl, infoPath);
    }
    const std::string updater = FileBeside(config.baseDir, kUpdaterProgram);
    const QFileInfo updaterInfo(PathToQString(updater));
    UpdateContext context;
    context.silent = silent;
    context.packageInstall = config.packageInstall;
    context.hasKey = site.ok() && !site->publicKey.empty();
    context.updaterPresent = updaterInfo.exists() && !updaterInfo.isDir();

    UpdateConversation talk(finding, context);
    while (talk.step().kind == UpdateConversation::Step::Kind::Show) {
        talk.Answer(ask(talk.step().box, talk.step().text));
    }
    if (talk.result() == UpdateCheckResult::CloseForUpdate) {
        // Whether it started or not, the program makes way for it.
        services.startDetached(updater, {site->baseUrl, AppVersion, "A"});
    }
    return talk.result();
}

}  // namespace zolt
