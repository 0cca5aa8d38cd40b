#pragma once

#include <array>

namespace zolt {

// An eBay country site: the name shown in the site list and the id that the
// snippet passes on.
struct EbaySite {
    const char* name;
    const char* id;
};

// In the order of the site list, which is not alphabetical.
extern const std::array<EbaySite, 23> EbaySiteTable;

}  // namespace zolt
