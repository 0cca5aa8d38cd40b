#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// The password fixed in the system for the settings file, and the chunk size
// that the settings file passes through.
inline constexpr char kSettingsPassword[] = "wvnxqzrtbm";
inline constexpr int kSettingsBufferSize = 262144;

// Decrypts the settings file `source` and saves the plain text as `dest`
// through SaveFileReplacing, with exactly the permission bits `mode`: a link
// of that name is replaced, never written through. `dest` is written only
// when the password verifier and the authentication code both match; a wrong
// password, a file shorter than 20 bytes or damaged data leave it as it was.
// Fails with a sentence naming the file: "cannot read ...", "cannot decrypt
// ..." or "cannot write ...".
Status DecryptSettingsFile(const std::string& source, const std::string& dest, unsigned mode);

// Encrypts the plain file `source` with a fresh salt and saves it as `dest`
// the same way. A source that decrypts already is refused ("... is encrypted
// already"): encrypted twice, the program could not read it.
Status EncryptSettingsFile(const std::string& source, const std::string& dest, unsigned mode);

// The same in memory. `plain` receives the decrypted bytes (possibly damaged
// ones when the result is false; empty for a wrong password or a too short
// input).
bool DecryptSettingsBytes(const std::string& encrypted, std::string& plain);
std::string EncryptSettingsBytes(const std::string& plain);

}  // namespace zolt
