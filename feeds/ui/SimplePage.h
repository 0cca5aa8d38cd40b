#pragma once

#include <QWidget>

#include "util/Services.h"

namespace zolt {

// The page "Simple" of the main window: the news feed generator.
class SimplePage : public QWidget {
    Q_OBJECT
public:
    SimplePage(const Services& services, QWidget* parent = nullptr);

private:
    const Services& services_;
};

}  // namespace zolt
