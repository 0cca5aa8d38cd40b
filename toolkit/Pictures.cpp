#include "toolkit/Pictures.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace zolt {

QIcon PngIcon(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace zolt
