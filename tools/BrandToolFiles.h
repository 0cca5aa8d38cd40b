#pragma once

#include <optional>
#include <string>

namespace zolt {

// The whole file, or nothing with `error` set to a message naming it.
std::optional<std::string> ReadToolInput(const std::string& path, std::string& error);

// Writes `bytes` to a new file in the folder of `path` and renames it over
// `path`, so that a failure never leaves a half-written or empty file behind
// and a link of that name is replaced, never written through. With
// `ownerOnly` the file is readable by its owner alone. False with `error`.
bool WriteToolOutput(const std::string& path, const std::string& bytes, bool ownerOnly,
                     std::string& error);

// Whether anything has the name `path`, a link that points nowhere included.
bool NameIsTaken(const std::string& path);

}  // namespace zolt
