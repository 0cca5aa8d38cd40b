#pragma once

#include <QIcon>
#include <QString>

namespace zolt {

// An icon of every picture in the file, read in `format` ("png", "ico")
// only: a picture whose type Qt must guess makes it load every image-format
// plug-in to ask each, which costs the start milliseconds. Empty when the
// file holds no picture of that format.
QIcon IconFromFile(const QString& path, const char* format);

}  // namespace zolt
