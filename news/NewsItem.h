#pragma once

#include <optional>
#include <string>

#include "news/NewsClient.h"
#include "news/NewsId.h"

namespace zolt {

// One news line taken apart: what the news window shows and asks for.
struct NewsItem {
    std::optional<NewsId> id;  // field 0, sent back to ask for the page; nothing when not an id
    std::string title;         // field 1, as NewsTitleText shows it
    std::string published;     // field 2, a date as display text (NewsLineText)
};

// The fields of "id^title^date", untrimmed, title and date made the UTF-8
// text to show (news/NewsTitle.h); a field the line lacks reads as empty,
// an id that is not one as none.
NewsItem ParseNewsLine(const NewsLine& line);

}  // namespace zolt
