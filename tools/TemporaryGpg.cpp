#include "tools/TemporaryGpg.h"

#include <QFile>
#include <QStringList>

#include "tools/ToolProcess.h"
#include "util/Text.h"

namespace zolt {

namespace {

constexpr ToolProgram kGpg = {"gpg", "the Debian package gpg"};

}  // namespace

TemporaryGpg::TemporaryGpg() {
    // gpg refuses a home that others may read.
    QFile::setPermissions(home_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TemporaryGpg::~TemporaryGpg() {
    // The agent that signing started lives on otherwise, in a removed folder.
    static_cast<void>(RunTool({"gpgconf", "the Debian package gpgconf"},
                              {"--homedir", home_.path(), "--kill", "all"}));
}

Result<QByteArray> TemporaryGpg::Gpg(const QStringList& args, const QByteArray& input) {
    if (!home_.isValid()) {
        return Fail("no temporary folder for gpg: " + FromQString(home_.errorString()));
    }
    return RunTool(kGpg, QStringList{"--batch", "--no-tty", "--homedir", home_.path()} + args,
                   input);
}

Result<std::string> TemporaryGpg::ImportOneKey(const QString& keyFile, bool secret) {
    const std::string file = "\"" + PathFromQString(keyFile) + "\"";
    if (const Result<QByteArray> imported = Gpg({"--import", keyFile}); !imported.ok()) {
        return Fail(file + " holds no OpenPGP key that gpg can read: " + imported.error());
    }
    const Result<QByteArray> listed = Gpg({"--with-colons", "--list-secret-keys"});
    const Result<QByteArray> publicKeys = Gpg({"--with-colons", "--fingerprint", "--list-keys"});
    if (!listed.ok() || !publicKeys.ok()) {
        return Fail(!listed.ok() ? listed.error() : publicKeys.error());
    }
    const int secretCount = static_cast<int>(listed->count("\nsec:") + listed->startsWith("sec:"));
    const int keyCount =
        static_cast<int>(publicKeys->count("\npub:") + publicKeys->startsWith("pub:"));
    if (keyCount != 1) {
        return Fail(file + " holds " + std::to_string(keyCount) + " keys; give a file of one key");
    }
    if (secret && secretCount != 1) {
        return Fail(file +
                    " holds no secret key to sign with (export it with gpg "
                    "--export-secret-keys --armor)");
    }
    if (!secret && secretCount != 0) {
        return Fail(file +
                    " holds a secret key; give its public key (gpg --export --armor), "
                    "which is all that users may have");
    }
    // The first fingerprint record after "pub" is the key's own.
    for (const QByteArray& line : publicKeys->split('\n')) {
        if (line.startsWith("fpr:")) {
            return line.split(':').value(9).toStdString();
        }
    }
    return Fail(file + ": gpg names no fingerprint of the key");
}

Result<QByteArray> TemporaryGpg::ExportPublic(const std::string& fingerprint, bool armored) {
    QStringList args = {"--export"};
    if (armored) {
        args << "--armor";
    }
    return Gpg(args << PathToQString(fingerprint));
}

Status TemporaryGpg::Sign(const std::string& fingerprint, const std::string& password,
                          const QString& file, const QString& out, bool clear) {
    const Result<QByteArray> signedFile =
        Gpg({"--pinentry-mode", "loopback", "--passphrase-fd", "0", "--local-user",
             PathToQString(fingerprint), "--digest-algo", "SHA512", "--yes", "--output", out,
             clear ? "--clearsign" : "--detach-sign", clear ? "--textmode" : "--armor", file},
            QByteArray::fromStdString(password + "\n"));
    if (!signedFile.ok()) {
        return Fail("cannot sign with the key (a wrong password?): " + signedFile.error());
    }
    return {};
}

}  // namespace zolt
