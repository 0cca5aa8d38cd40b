#include "branding/IconPictures.h"

#include <QImageReader>

#include <algorithm>

namespace zolt {

IconPictures ReadIconPictures(const QString& path) {
    IconPictures icon;
    QImageReader reader(path, "ico");
    reader.setAutoDetectImageFormat(false);
    // A Windows icon holds several sizes; other formats report one or none.
    const int count = std::max(reader.imageCount(), 1);
    for (int n = 0; n < count; ++n) {
        QImage image;
        if (n == 0 || reader.jumpToImage(n)) {
            image = reader.read();
        }
        if (image.isNull()) {
            icon.unreadable.push_back(n + 1);
        } else {
            icon.pictures.push_back(image);
        }
    }
    return icon;
}

std::string IconSizesText(const IconPictures& icon) {
    std::string sizes;
    for (const QImage& picture : icon.pictures) {
        sizes += (sizes.empty() ? "" : ", ") + std::to_string(picture.width()) + "x" +
                 std::to_string(picture.height());
    }
    return sizes.empty() ? "none" : sizes;
}

}  // namespace zolt
