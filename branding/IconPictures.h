#pragma once

#include <QImage>
#include <QString>

#include <string>
#include <vector>

namespace zolt {

// The pictures of a Windows icon file as the program reads main.ico: every
// entry read as "ico" (never a format that Qt guesses), an entry that Qt
// cannot read skipped, not the end of the reading.
struct IconPictures {
    std::vector<QImage> pictures;
    std::vector<int> unreadable;  // numbers of the entries skipped, from 1
};
IconPictures ReadIconPictures(const QString& path);

// The sizes of the pictures, "16x16, 256x256"; "none" when there are none.
std::string IconSizesText(const IconPictures& icon);

}  // namespace zolt
