#include "reader/navigation.h"

#include <gtest/gtest.h>

namespace {

// The window's own table covers the ordinary steps; here the 16-bit end of the counter.
TEST(PageSteps, WrapAtTheLargestPageCount) {
    EXPECT_EQ(reader::nextPage(32767, 32767), 1);
    EXPECT_EQ(reader::previousPage(32767, 32767), 32766);
    EXPECT_EQ(reader::previousPage(1, 32767), 32767);
}

TEST(ZoomStep, RefusesWhatTheDisplayCannotDraw) {
    EXPECT_FALSE(reader::zoomStep({32767 * 15, 100}, 1.2, 15));
    EXPECT_FALSE(reader::zoomStep({16, 100}, 0.8, 15));  // below one pixel
    EXPECT_FALSE(reader::zoomStep({0, 0}, 1.2, 15));
    EXPECT_TRUE(reader::zoomStep({20, 100}, 0.8, 15));
}

}  // namespace
