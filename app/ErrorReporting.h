#pragma once

#include "util/MessageKind.h"

namespace zolt {

// Shows every exception that escapes an event handler as a warning box
// through `show`; the program keeps running. Empty: reports nothing.
void InstallErrorReporter(MessageAnswer show);

}  // namespace zolt
