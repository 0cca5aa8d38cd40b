#pragma once

#include <QWidget>

#include "util/Services.h"

namespace zolt {

// The page "Advanced" of the main window: the eBay feed generator.
class AdvancedPage : public QWidget {
    Q_OBJECT
public:
    AdvancedPage(const Services& services, QWidget* parent = nullptr);

    // Fills the site drop-down and the id list together, last row selected.
    void FillEbaySites();

private:
    const Services& services_;
};

}  // namespace zolt
