#pragma once

#include <QString>
#include <QStringList>

#include <string>

#include "branding/BrandSettingsText.h"
#include "util/Result.h"

namespace zolt {

// What a brand folder's dbsettings.dat says; it must decrypt cleanly, else
// the failure says why.
Result<ParsedBrandSettings> ReadBrandFolder(const QString& brandFolder);

// The names of the files a brand may put beside the program (dbsettings.dat,
// mainskin.dat, main.ico, banner1.dat to banner16.dat); a failure when one
// of them is larger than the program reads.
Result<QStringList> CheckedBrandFileNames(const QString& brandFolder);

// Saves the file `built` as `name` in `outFolder` the way every file of this
// tool is saved: never through a link, never half-written. Returns the
// saved file's path, or why it could not be saved.
Result<std::string> SaveBuilt(const QString& built, const std::string& outFolder,
                              const QString& name);

}  // namespace zolt
