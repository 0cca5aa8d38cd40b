#pragma once

#include <QString>

#include <string>

#include "util/Result.h"

namespace zolt {

// What signs Windows files: a PKCS#12 file (.pfx) with the certificate and
// its key, the file's password (read from a file or standard input, never
// given on the command line), and a time-stamping server (RFC 3161), so
// that a signature outlives its certificate.
struct SigningKey {
    std::string pfxFile;
    std::string password;
    std::string timestampUrl;  // empty: no time stamp
};

// Whether `url` may be handed to osslsigncode and a script as the time
// stamp server: an http or https address of plain characters.
bool IsTimestampAddress(const std::string& url);

// Signs the Windows program or library `file` with Authenticode (SHA-256)
// through osslsigncode: the signed copy is written beside it and renamed
// over it, replacing a signature it held. The password passes through a
// file of `work`, a folder only this user reads. Returns why it failed.
Status SignWindowsFile(const SigningKey& key, const QString& file, const QString& work);

}  // namespace zolt
