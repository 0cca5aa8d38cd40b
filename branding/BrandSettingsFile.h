#pragma once

#include <optional>
#include <string>

namespace zolt {

// The settings text of "dbsettings.dat" in `baseDir`, decrypted through the
// plain copy "dbsettings.sim" and rebuilt with CR LF line ends. The copy is
// created readable and writable by its owner only and is removed on every
// path before this returns.
//
// Nothing (the program runs unbranded) when there is no settings file, or
// when the copy cannot be made or read back (a read-only folder, an
// unreadable file). A file that does not decrypt (wrong password, damaged
// header) gives the empty text, and damaged data the damaged plain text, as
// the copy then holds.
std::optional<std::string> ReadBrandSettingsText(const std::string& baseDir);

// The style sheet stored zlib-compressed in "mainskin.dat" in `baseDir`;
// nothing when the file is missing, cannot be inflated, or holds nothing
// but blanks, so that the built-in skin stays.
std::optional<std::string> ReadSkinStyleSheet(const std::string& baseDir);

}  // namespace zolt
