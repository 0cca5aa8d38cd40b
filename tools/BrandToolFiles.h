#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// The whole file, or a message naming it.
Result<std::string> ReadToolInput(const std::string& path);

// The permission bits of a file the tool writes: read and write for all as
// the umask allows, or with `ownerOnly` for its owner alone.
unsigned ToolOutputMode(bool ownerOnly);

// Writes `bytes` to a new file in the folder of `path` and renames it over
// `path`, so that a failure never leaves a half-written or empty file behind
// and a link of that name is replaced, never written through. Permission
// bits as ToolOutputMode(ownerOnly) gives them.
Status WriteToolOutput(const std::string& path, const std::string& bytes, bool ownerOnly);

// A password from the file `source`, or from standard input for "-", never
// from the command line where other users see it; one line end at its end
// is not part of it.
Result<std::string> ReadPassword(const std::string& source);

// Whether anything has the name `path`, a link that points nowhere included.
bool NameIsTaken(const std::string& path);

}  // namespace zolt
