#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <string>

#include "util/Result.h"

namespace zolt {

// gpg with a keyring of its own in a temporary folder: the user's keyring is
// neither read nor changed, and only the key imported here is used. Its
// agent is ended with it.
class TemporaryGpg {
  public:
    TemporaryGpg();
    ~TemporaryGpg();
    TemporaryGpg(const TemporaryGpg&) = delete;
    TemporaryGpg& operator=(const TemporaryGpg&) = delete;

    // Imports the OpenPGP key file `keyFile`, which must hold exactly one
    // key: a secret one when `secret`, else a public one and nothing secret.
    // Returns the key's fingerprint, or why the file is refused.
    Result<std::string> ImportOneKey(const QString& keyFile, bool secret);
    // The public key of `fingerprint`: ASCII-armored, or as a binary
    // keyring file (what apt's Signed-By reads).
    Result<QByteArray> ExportPublic(const std::string& fingerprint, bool armored);
    // Signs `file` with the secret key `fingerprint`, unlocked by
    // `password` (empty for a key without one): `clear` writes the signed
    // text (InRelease), else a detached armored signature (Release.gpg).
    Status Sign(const std::string& fingerprint, const std::string& password, const QString& file,
                const QString& out, bool clear);

  private:
    Result<QByteArray> Gpg(const QStringList& args, const QByteArray& input = {});

    QTemporaryDir home_;
};

}  // namespace zolt
