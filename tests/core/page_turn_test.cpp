#include "core/page_turn.h"

#include <gtest/gtest.h>

namespace {

using core::Heading;

// Which pages are decoded around the page shown, for every way of coming to it.
TEST(PagesAhead, TheWayTheReaderGoesFirstWrappingAtBothEnds) {
    struct Case {
        const char* what;
        int16_t current;
        Heading heading;
        int pages;
        bool catchingUp;
        std::vector<int16_t> ahead;
    };
    const Case cases[] = {
        {"next in the middle", 3, Heading::Forward, 5, false, {4, 2}},
        {"previous in the middle", 3, Heading::Backward, 5, false, {2, 4}},
        {"next on the last page wraps to the first", 5, Heading::Forward, 5, false, {1, 4}},
        {"previous on the first page wraps to the last", 1, Heading::Backward, 5, false, {5, 2}},
        {"before any page was shown", 0, Heading::Forward, 5, false, {1, 5}},
        {"beyond the last row of a new catalog", 9, Heading::Backward, 5, false, {8, 1}},
        {"turning faster than pages decode", 3, Heading::Backward, 5, true, {2}},
        {"auto-play never goes back", 5, Heading::AutoPlay, 5, false, {1}},
        {"two pages: the other one, once", 1, Heading::Backward, 2, false, {2}},
        {"one page: nothing", 1, Heading::Forward, 1, false, {}},
        {"no page: nothing", 0, Heading::Backward, 0, false, {}},
        {"the largest book", 32767, Heading::Forward, 32767, false, {1, 32766}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::pagesAhead(c.current, c.heading, c.pages, c.catchingUp), c.ahead) << c.what;
}

}  // namespace
