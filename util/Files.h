#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace zolt {

// `name` inside the folder `baseDir`.
std::string FileBeside(const std::string& baseDir, const std::string& name);

bool FileExists(const std::string& path);

// The whole content of a regular file; nothing when it is missing, not a
// regular file, unreadable, or larger than `maxSize`.
std::optional<std::string> ReadWholeFile(const std::string& path,
                                         std::size_t maxSize = 64 * 1024 * 1024);

}  // namespace zolt
