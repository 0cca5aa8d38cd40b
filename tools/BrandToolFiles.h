#pragma once

#include <optional>
#include <string>

namespace zolt {

// The whole file, or nothing with `error` set to a message naming it.
std::optional<std::string> ReadToolInput(const std::string& path, std::string& error);

// Writes `bytes` to `path` through a temporary file in the same folder, so
// that a failure never leaves a half-written or empty file behind. With
// `ownerOnly` the file is readable by its owner alone. False with `error`.
bool WriteToolOutput(const std::string& path, const std::string& bytes, bool ownerOnly,
                     std::string& error);

}  // namespace zolt
