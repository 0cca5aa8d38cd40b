#include "util/SettingsFileCrypt.h"

#include "crypto/Encryption.h"
#include "crypto/MemoryStream.h"

namespace zolt {

bool DecryptSettingsFile(const std::string& source, const std::string& dest) {
    // The source first: when it is missing, the destination stays untouched.
    FileStream input(source, FileStream::Mode::OpenRead);
    FileStream output(dest, FileStream::Mode::Create);
    TEncryption encryption(kSettingsPassword, kSettingsBufferSize);
    return encryption.DecryptStream(input, output, input.Size());
}

bool EncryptSettingsFile(const std::string& source, const std::string& dest) {
    FileStream input(source, FileStream::Mode::OpenRead);
    FileStream output(dest, FileStream::Mode::Create);
    TEncryption encryption(kSettingsPassword, kSettingsBufferSize);
    return encryption.EncryptStream(input, output);
}

bool EncryptSettingsFile(const std::string& source, ByteStream& dest) {
    FileStream input(source, FileStream::Mode::OpenRead);
    TEncryption encryption(kSettingsPassword, kSettingsBufferSize);
    return encryption.EncryptStream(input, dest);
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
