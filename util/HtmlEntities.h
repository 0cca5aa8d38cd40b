#pragma once

#include <cstddef>
#include <string_view>

namespace zolt {

// The code point of the named character reference `name` (without "&" and
// ";", case-sensitive); 0 when HTML 4 has no reference of that name.
char32_t HtmlEntityCode(std::string_view name);

// The longest name HtmlEntityCode knows.
inline constexpr std::size_t kLongestHtmlEntityName = 8;

}  // namespace zolt
