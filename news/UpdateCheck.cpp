#include "news/UpdateCheck.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <charconv>

#include "branding/BrandSettings.h"
#include "util/Files.h"
#include "util/IniReader.h"
#include "util/Logging.h"
#include "util/SafeSave.h"

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

float VersionNumber(const std::string& text) {
    // Digits with at most one point, optionally signed: no exponents, no
    // "inf" or "nan", no comma of a locale, nothing around the number.
    size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] >= '0' && text[k] <= '9') {
            digits = true;
        } else if (text[k] == '.' && !point) {
            point = true;
        } else {
            return 0.0f;
        }
    }
    if (!digits) {
        return 0.0f;
    }
    // from_chars takes no "+" and knows no locale.
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    float value = 0.0f;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return 0.0f;
    }
    return value;
}

bool IsNewerVersion(const std::string& versionText) {
    return VersionNumber(versionText) > VersionNumber(AppVersion);
}

Result<std::optional<std::string>> DownloadUpdateInfo(HttpClient& http, const std::string& url,
                                                      const std::string& path) {
    if (!path.empty()) {
        RemoveFileName(path);
    }
    QCoreApplication::processEvents();
    std::string body;
    try {
        body = http.Get(url, kMaxUpdateFileSize);
        http.CloseIdleConnections();
    } catch (const HttpError& e) {
        qCInfo(lcNews) << "update description not downloaded:" << e.what();
        // A cut-short call may have lost its client with the window.
        if (e.aborted()) {
            return Fail(e.what());
        }
        http.CloseIdleConnections();
        return std::optional<std::string>();
    }
    // The copy beside the program is for the curious; a folder that does not
    // take it (a read-only install) changes nothing about the check.
    if (!path.empty() && !SaveFileReplacing(path, body)) {
        qCInfo(lcNews) << "update description not kept beside the program";
    }
    return std::optional<std::string>(std::move(body));
}

UpdateCheckResult CheckForUpdate(const Services& services, HttpClient& http, bool silent) {
    // No copy where the program may not write, a package install included.
    const std::string infoPath = ProgramFolderWritable(services)
                                     ? FileBeside(services.baseDir, kUpdateInfoFile)
                                     : std::string();
    const Result<std::optional<std::string>> info =
        DownloadUpdateInfo(http, services.updateBaseUrl + kUpdateInfoFile, infoPath);
    if (!info.ok()) {
        return UpdateCheckResult::Aborted;
    }
    if (*info) {
        const IniReader ini(**info);
        const std::string version = ini.ReadString("APPLICATION", "Version");
        if (IsNewerVersion(version) && services.packageInstall) {
            services.showMessage(MessageKind::Information, PackageUpdateMessage(version));
            return UpdateCheckResult::PackageManaged;
        }
        if (IsNewerVersion(version)) {
            if (!services.showMessage(MessageKind::Question, NewUpdateQuestion(version))) {
                return UpdateCheckResult::Declined;
            }
            const std::string updater = FileBeside(services.baseDir, kUpdaterProgram);
            const QFileInfo updaterInfo(QString::fromStdString(updater));
            if (!updaterInfo.exists() || updaterInfo.isDir()) {
                services.showMessage(MessageKind::Warning, kUpdaterMissingMessage);
                return UpdateCheckResult::UpdaterMissing;
            }
            if (!services.showMessage(MessageKind::Question, kUpdateCloseQuestion)) {
                return UpdateCheckResult::Declined;
            }
            // Whether it started or not, the program makes way for it.
            services.startDetached(updater, {services.updateBaseUrl, AppVersion, "A"});
            return UpdateCheckResult::CloseForUpdate;
        }
    }
    if (!silent) {
        services.showMessage(MessageKind::Information, kNoUpdateMessage);
    }
    return UpdateCheckResult::NoUpdate;
}

}  // namespace zolt
