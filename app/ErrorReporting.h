#pragma once

#include "util/Services.h"

namespace zolt {

// Shows every exception that escapes an event handler as a warning box
// through the services' message box; the program keeps running.
void InstallErrorReporter(const Services& services);

}  // namespace zolt
