// Linux: a portable folder belongs to the user who unpacked it; there is no
// one to ask for more rights.
#include "update/Elevation.h"

namespace zolt {

bool CanAskForElevation() {
    return false;
}

bool StartElevated(const std::string&, const std::vector<std::string>&) {
    return false;
}

}  // namespace zolt
