#include "news/NewsItem.h"

#include <algorithm>
#include <vector>

#include "news/NewsReply.h"
#include "news/NewsTitle.h"
#include "util/UUtils.h"

namespace zolt {

NewsItem ParseNewsLine(const NewsLine& line) {
    std::vector<std::string> fields;
    SplitByChar(kNewsFieldSeparator, line, fields);
    fields.resize(std::max<size_t>(fields.size(), 3));
    return {NewsId::Parse(fields[0]), NewsTitleText(fields[1]), NewsLineText(fields[2])};
}

}  // namespace zolt
