#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace zolt {

// A news id as this program takes it from a server and keeps it: 1 to 18
// ASCII digits, so that it fits a 64-bit number and can carry nothing else
// into a request or the settings file. Made only by Parse, so a NewsId in
// hand has been checked once and never needs checking again.
inline constexpr std::size_t kMaxNewsIdDigits = 18;

class NewsId {
  public:
    static std::optional<NewsId> Parse(std::string_view text);

    // The digits as received: sent back to the server and stored byte for byte.
    const std::string& text() const { return text_; }
    std::int64_t value() const { return value_; }

    friend bool operator==(const NewsId& a, const NewsId& b) { return a.value_ == b.value_; }

  private:
    NewsId(std::string text, std::int64_t value) : text_(std::move(text)), value_(value) {}

    std::string text_;
    std::int64_t value_;
};

}  // namespace zolt
