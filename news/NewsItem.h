#pragma once

#include <string>

#include "news/NewsProtocol.h"

namespace zolt {

// One news line taken apart: what the news window shows and asks for.
struct NewsItem {
    std::string id;         // field 0, sent back to ask for the page
    std::string title;      // field 1
    std::string published;  // field 2, a date as display text
};

// The fields of "id^title^date" as received, without trimming; a field the
// line lacks reads as empty.
NewsItem ParseNewsLine(const NewsLine& line);

}  // namespace zolt
