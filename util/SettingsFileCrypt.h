#pragma once

#include <string>

#include "crypto/ByteStream.h"
#include "crypto/FileStream.h"

namespace zolt {

// The password fixed in the system for the settings file, and the chunk size
// that the settings file passes through.
inline constexpr char kSettingsPassword[] = "wvnxqzrtbm";
inline constexpr int kSettingsBufferSize = 262144;

// Decrypts the settings file `source` into `dest`. The source is opened
// first, so a missing source leaves `dest` untouched; `dest` is then created
// or truncated. Throws FileError ("Cannot open file ..." for the source,
// "Cannot create file ..." for the destination). Returns true only when the
// password verifier and the authentication code both match; false with an
// empty `dest` for a wrong password or a file shorter than 20 bytes, and false
// after all plain bytes were written for damaged data.
bool DecryptSettingsFile(const std::string& source, const std::string& dest);

// Encrypts the plain file `source` into `dest` (created or truncated) with a
// fresh salt. Throws FileError as DecryptSettingsFile does. False on a write
// or read failure.
bool EncryptSettingsFile(const std::string& source, const std::string& dest);

// Encrypts the plain file `source` into a caller-owned stream, for callers
// that save through a temporary file of their own. Throws FileError when the
// source cannot be opened.
bool EncryptSettingsFile(const std::string& source, ByteStream& dest);

// The same in memory. `plain` receives the decrypted bytes (possibly damaged
// ones when the result is false; empty for a wrong password or a too short
// input).
bool DecryptSettingsBytes(const std::string& encrypted, std::string& plain);
std::string EncryptSettingsBytes(const std::string& plain);

}  // namespace zolt
