#pragma once

#include <optional>
#include <string>

namespace zolt {

// The settings text of "dbsettings.dat" in `baseDir`, decrypted in memory
// and rebuilt with CR LF line ends; the plain text never touches the disk,
// and a plain copy "dbsettings.sim" left by an older version is removed.
// Nothing (the program runs unbranded) when there is no settings file, or
// when it cannot be read. A file that does not decrypt (wrong password,
// damaged header) gives the empty text, and damaged data the damaged plain
// text.
std::optional<std::string> ReadBrandSettingsText(const std::string& baseDir);

// The style sheet stored zlib-compressed in "mainskin.dat" in `baseDir`;
// nothing when the file is missing, cannot be inflated, holds nothing but
// blanks or a sheet that Qt cannot parse, so that the built-in skin stays.
std::optional<std::string> ReadSkinStyleSheet(const std::string& baseDir);

}  // namespace zolt
