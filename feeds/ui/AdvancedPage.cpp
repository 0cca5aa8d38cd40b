#include "feeds/ui/AdvancedPage.h"

namespace zolt {

AdvancedPage::AdvancedPage(const Services& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    setObjectName("Advanced");
}

void AdvancedPage::FillEbaySites() {}

}  // namespace zolt
