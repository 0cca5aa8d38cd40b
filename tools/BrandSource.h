#pragma once

#include <QString>
#include <QStringList>

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

}  // namespace zolt
