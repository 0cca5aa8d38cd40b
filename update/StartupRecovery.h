#pragma once

#include "util/MessageKind.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"

namespace zolt {

class ProgramLock;

// What the program does at its start about an update that did not finish
// (an updater killed, a machine gone down in the middle of a swap): with the
// program's lock held it finishes or undoes it at once; where only an
// administrator may change the folder it starts the updater to do so (it
// asks for the rights) and the program must end; while another updater holds
// the lock it tells the user to wait. True when the program may go on.
// `ask` is the program's message box.
bool RecoverUpdateAtStart(const ProgramConfig& config, const Services& services,
                          const MessageAnswer& ask, ProgramLock& lock);

}  // namespace zolt
