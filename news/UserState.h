#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "util/Result.h"

namespace zolt {

// Brander codes longer than this keep no state of their own.
inline constexpr std::size_t kMaxStateNameBytes = 64;
// A state file is a line or two; anything bigger is not one of ours.
inline constexpr std::size_t kMaxStateFileSize = 4096;

// The name of a brand's state file: its brander code, every byte other than
// A-Z, a-z, 0-9, "-" and "_" written as "%XX". The code comes from a
// settings file, so no code may name another folder, a hidden file or carry
// a control character. Nothing for an empty code or one longer than
// kMaxStateNameBytes.
std::optional<std::string> StateFileName(std::string_view branderCode);

// The file `name` of the state folder `stateDir` (ProgramConfig::stateDir);
// nothing when there is no state folder or no such regular file of at most
// kMaxStateFileSize bytes.
std::optional<std::string> ReadStateFile(const std::string& stateDir, const std::string& name);

// Replaces the file `name` of `stateDir` by `bytes` through a new file
// renamed over it, so that a crash leaves the old or the new content and a
// link of that name is never written through. Missing folders are made,
// readable by the user alone. Fails, saying why, when there is no state
// folder or it does not take the file.
Status WriteStateFile(const std::string& stateDir, const std::string& name,
                      const std::string& bytes);

}  // namespace zolt
