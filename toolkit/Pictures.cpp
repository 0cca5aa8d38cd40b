#include "toolkit/Pictures.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>

#include <algorithm>

namespace zolt {

QIcon IconFromFile(const QString& path, const char* format) {
    QIcon icon;
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    // A Windows icon holds several sizes; other formats report one or none.
    const int count = std::max(reader.imageCount(), 1);
    for (int n = 0; n < count; ++n) {
        if (n > 0 && !reader.jumpToImage(n)) {
            break;
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            break;
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace zolt
