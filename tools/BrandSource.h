#pragma once

#include <QString>
#include <QStringList>

#include <string>

#include "branding/BrandSettingsText.h"

namespace zolt {

// What a brand folder's dbsettings.dat says; it must decrypt cleanly, else
// a PackageFailure says why.
ParsedBrandSettings ReadBrandFolder(const QString& brandFolder);

// The names of the files a brand may put beside the program (dbsettings.dat,
// mainskin.dat, main.ico, banner1.dat to banner16.dat); a PackageFailure when
// one of them is larger than the program reads.
QStringList CheckedBrandFileNames(const QString& brandFolder);

// Saves the file `built` as `name` in `outFolder` the way every file of this
// tool is saved: never through a link, never half-written. Returns the
// saved file's path; a PackageFailure when it cannot be saved.
std::string SaveBuilt(const QString& built, const std::string& outFolder, const QString& name);

}  // namespace zolt
