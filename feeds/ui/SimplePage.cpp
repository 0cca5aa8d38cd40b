#include "feeds/ui/SimplePage.h"

namespace zolt {

SimplePage::SimplePage(const Services& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    setObjectName("Simple");
}

}  // namespace zolt
