#pragma once

#include <optional>
#include <string>

namespace zolt {

// The settings text of "dbsettings.dat" in `baseDir`, decrypted through the
// plain copy "dbsettings.sim" and rebuilt with CR LF line ends. The copy is
// created readable and writable by its owner only and is removed on every
// path before this returns.
//
// When the folder does not take the copy (read-only, or something else of
// that name in the way) the file is decrypted in memory instead, with the
// same result. Nothing (the program runs unbranded) when there is no
// settings file, or when it or the copy cannot be read. A file that does not
// decrypt (wrong password, damaged header) gives the empty text, and damaged
// data the damaged plain text, as the copy then holds.
std::optional<std::string> ReadBrandSettingsText(const std::string& baseDir);

// The style sheet stored zlib-compressed in "mainskin.dat" in `baseDir`;
// nothing when the file is missing, cannot be inflated, or holds nothing
// but blanks, so that the built-in skin stays.
std::optional<std::string> ReadSkinStyleSheet(const std::string& baseDir);

}  // namespace zolt
