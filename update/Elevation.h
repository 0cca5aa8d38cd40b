#pragma once

#include <string>
#include <vector>

namespace zolt {

// Whether this system can start a program with an administrator's rights
// after asking the user (Windows: "runas").
bool CanAskForElevation();

// Starts `program` with `args` and an administrator's rights, after the
// system has asked the user; false when it did not start (refused, or no
// such way on this system).
bool StartElevated(const std::string& program, const std::vector<std::string>& args);

}  // namespace zolt
