#pragma once

#include <QIcon>
#include <QString>

namespace zolt {

// An icon from a PNG picture (the program's own, in its resources). Read as
// PNG only: a picture whose type Qt must guess makes it load every image
// format plug-in to ask each, which costs the start milliseconds.
QIcon PngIcon(const QString& path);

}  // namespace zolt
