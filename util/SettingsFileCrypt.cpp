#include "util/SettingsFileCrypt.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "crypto/Encryption.h"
#include "crypto/FileStream.h"
#include "crypto/MemoryStream.h"
#include "util/SafeSave.h"

namespace zolt {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The whole file, read through the file stream, or why not.
Result<std::string> ReadSource(const std::string& source) {
    FileStream input(source);
    std::string bytes;
    std::string chunk(kSettingsBufferSize, '\0');
    int64_t n = 0;
    while ((n = input.Read(reinterpret_cast<uint8_t*>(chunk.data()), kSettingsBufferSize)) > 0) {
        bytes.append(chunk, 0, static_cast<size_t>(n));
    }
    if (n < 0) {
        return Fail("cannot read " + Quoted(source) + ": " +
                    (input.error() == EISDIR ? "it is a folder" : std::strerror(input.error())));
    }
    return bytes;
}

}  // namespace

Status DecryptSettingsFile(const std::string& source, const std::string& dest, unsigned mode) {
    const Result<std::string> encrypted = ReadSource(source);
    if (!encrypted.ok()) {
        return Fail(encrypted.error());
    }
    std::string plain;
    if (!DecryptSettingsBytes(*encrypted, plain)) {
        return Fail("cannot decrypt " + Quoted(source) +
                    ": the password does not fit or the file is damaged; nothing was written");
    }
    return SaveFileReplacing(dest, plain, mode);
}

Status EncryptSettingsFile(const std::string& source, const std::string& dest, unsigned mode) {
    const Result<std::string> plain = ReadSource(source);
    if (!plain.ok()) {
        return Fail(plain.error());
    }
    std::string check;
    if (DecryptSettingsBytes(*plain, check)) {
        return Fail(Quoted(source) + " is encrypted already");
    }
    return SaveFileReplacing(dest, EncryptSettingsBytes(*plain), mode);
}

bool DecryptSettingsBytes(const std::string& encrypted, std::string& plain) {
    MemoryStream input(encrypted);
    MemoryStream output;
    TEncryption encryption(kSettingsPassword, kSettingsBufferSize);
    const bool ok = encryption.DecryptStream(input, output, static_cast<int64_t>(encrypted.size()));
    plain = output.takeBytes();
    return ok;
}

std::string EncryptSettingsBytes(const std::string& plain) {
    MemoryStream input(plain);
    MemoryStream output;
    TEncryption encryption(kSettingsPassword, kSettingsBufferSize);
    // Memory streams do not fail, and the fixed password is short enough.
    static_cast<void>(encryption.EncryptStream(input, output));
    return output.takeBytes();
}

}  // namespace zolt
