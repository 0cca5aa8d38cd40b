#include "tools/BrandFileCheck.h"

#include <QFileInfo>

#include "branding/BrandFiles.h"
#include "branding/IconPictures.h"
#include "branding/SkinSheet.h"
#include "tools/BrandToolFiles.h"
#include "util/Files.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace zolt {

void CheckBrandFiles(const std::string& folder, SettingsCheckReport& report) {
    const std::string skin = FileBeside(folder, kSkinFileName);
    if (QFileInfo::exists(PathToQString(skin))) {
        const Result<std::string> stored = ReadToolInput(skin);
        const std::optional<std::string> sheet =
            stored.ok() ? ZlibDecompress(*stored) : std::optional<std::string>();
        const Status readable = sheet ? CheckSkinStyleSheet(*sheet) : Status(Fail("not packed"));
        report.values.emplace_back(
            kSkinFileName, readable.ok() ? "a style sheet Qt reads" : "refused by the program");
        if (!sheet) {
            report.warnings.push_back(std::string(kSkinFileName) +
                                      " is no skin packed by 'zolt-brand skin'");
        } else if (!readable.ok()) {
            report.warnings.push_back(std::string(kSkinFileName) + ": " + readable.error());
        }
    }
    const std::string ico = FileBeside(folder, kIconFileName);
    if (QFileInfo::exists(PathToQString(ico))) {
        const IconPictures icon = ReadIconPictures(PathToQString(ico));
        report.values.emplace_back(kIconFileName, "sizes " + IconSizesText(icon));
        if (icon.pictures.empty()) {
            report.warnings.push_back(std::string(kIconFileName) +
                                      " holds no picture the program can read: the window "
                                      "keeps the program's icon");
        } else if (!icon.unreadable.empty()) {
            std::string entries;
            for (const int n : icon.unreadable) {
                entries += (entries.empty() ? "" : ", ") + std::to_string(n);
            }
            report.warnings.push_back(std::string(kIconFileName) + ": the program skips entry " +
                                      entries + ", which Qt cannot read");
        }
    }
}

}  // namespace zolt
