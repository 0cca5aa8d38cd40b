#include "tools/Authenticode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "tools/BrandToolFiles.h"
#include "tools/PackageScripts.h"
#include "tools/ToolProcess.h"
#include "util/Text.h"

namespace zolt {

bool IsTimestampAddress(const std::string& url) {
    return IsRepositoryAddress(url);
}

Status SignWindowsFile(const SigningKey& key, const QString& file, const QString& work) {
    const QString passwordFile = QDir(work).filePath("signing-password");
    if (const Status written =
            WriteToolOutput(PathFromQString(passwordFile), key.password + "\n", true);
        !written.ok()) {
        return written;
    }
    const QString signedFile = file + ".signed";
    QStringList args = {"sign", "-pkcs12", PathToQString(key.pfxFile), "-readpass", passwordFile,
                        "-h",   "sha256"};
    if (!key.timestampUrl.empty()) {
        args << "-ts" << PathToQString(key.timestampUrl);
    }
    args << "-in" << file << "-out" << signedFile;
    QFile::remove(signedFile);
    const Result<QByteArray> signedOk =
        RunTool({"osslsigncode", "the Debian package osslsigncode"}, args);
    QFile::remove(passwordFile);
    if (!signedOk.ok()) {
        QFile::remove(signedFile);
        return Fail("cannot sign \"" + PathFromQString(QFileInfo(file).fileName()) +
                    "\" (a wrong password, or no code-signing certificate?): " + signedOk.error());
    }
    // Renamed over the file, never written through a link of its name.
    const Result<std::string> bytes = ReadToolInput(PathFromQString(signedFile));
    QFile::remove(signedFile);
    return bytes.ok() ? WriteToolOutput(PathFromQString(file), *bytes, false)
                      : Status(Fail(bytes.error()));
}

}  // namespace zolt
