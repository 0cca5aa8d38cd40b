#pragma once

#include <cstddef>
#include <string_view>

namespace zolt {

// A news id as this program takes it from a server and keeps it: 1 to 18
// ASCII digits, so that it fits a 64-bit number and can carry nothing else
// into a request or the settings file.
inline constexpr std::size_t kMaxNewsIdDigits = 18;

bool IsNewsId(std::string_view text);

}  // namespace zolt
