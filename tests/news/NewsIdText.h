#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "news/NewsId.h"

namespace zolt::test {

// An id's digits, or "" for none: what the tables compare.
inline std::string Text(const std::optional<NewsId>& id) {
    return id ? id->text() : std::string();
}

// An id the table knows to be one.
inline NewsId Id(std::string_view text) {
    return NewsId::Parse(text).value();
}

}  // namespace zolt::test
