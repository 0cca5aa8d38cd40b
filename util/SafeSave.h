#pragma once

#include <string>

#include "util/Result.h"

namespace zolt {

// Writes `bytes` to a new file beside `path` and renames it over `path`, so
// that a crash leaves either the old file or the new one, and a symbolic link
// of that name is replaced, never written through. The new file keeps the
// permissions of a regular file it replaces; a new name gets owner read and
// write only. When the folder does not take the new file, `path` stays
// untouched and the failure says why, as the system put it:
// "cannot write "<path>": <reason>".
Status SaveFileReplacing(const std::string& path, const std::string& bytes);
// The same, the new file with exactly the permission bits `mode`.
Status SaveFileReplacing(const std::string& path, const std::string& bytes, unsigned mode);

// The failure of writing `path`, for `reason` in the system's words.
inline Failure CannotWrite(const std::string& path, const std::string& reason) {
    return Fail("cannot write \"" + path + "\": " + reason);
}

// Removes the name `path` itself: a link is removed, its target is not
// touched, a folder stays. False when nothing was removed.
bool RemoveFileName(const std::string& path);

}  // namespace zolt
