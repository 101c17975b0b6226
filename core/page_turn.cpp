#include "page_turn.h"

#include <algorithm>

namespace core {

int16_t nextPage(int16_t current, int pageCount) {
    if (pageCount <= 1) return current;
    int page = current + 1;
    if (page > pageCount) page = 1;
    return static_cast<int16_t>(page);
}

int16_t previousPage(int16_t current, int pageCount) {
    if (pageCount <= 1) return current;
    int page = current - 1;
    if (page < 1) page = pageCount;
    return static_cast<int16_t>(page);
}

std::vector<int16_t> pagesAhead(int16_t current, Heading heading, int pageCount, bool catchingUp) {
    const bool back = heading == Heading::Backward;
    std::vector<int16_t> pages;
    const auto add = [&](int16_t page) {
        if (page != current && std::find(pages.begin(), pages.end(), page) == pages.end())
            pages.push_back(page);
    };
    add(back ? previousPage(current, pageCount) : nextPage(current, pageCount));
    if (!catchingUp && heading != Heading::AutoPlay)
        add(back ? nextPage(current, pageCount) : previousPage(current, pageCount));
    return pages;
}

}  // namespace core
