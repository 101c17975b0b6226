#include "reader/navigation.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// current, page count, next, previous
class PageSteps : public ::testing::TestWithParam<std::tuple<int, int, int, int>> {};

TEST_P(PageSteps, WrapAtBothEnds) {
    const auto [current, count, next, previous] = GetParam();
    EXPECT_EQ(reader::nextPage(int16_t(current), count), next);
    EXPECT_EQ(reader::previousPage(int16_t(current), count), previous);
}

INSTANTIATE_TEST_SUITE_P(Cases, PageSteps,
                         ::testing::Values(std::tuple{0, 5, 1, 5},  // start state
                                           std::tuple{5, 5, 1, 4}, std::tuple{1, 5, 2, 5},
                                           std::tuple{3, 5, 4, 2},
                                           std::tuple{9, 5, 1, 8},  // past the last row
                                           std::tuple{1, 1, 1, 1}, std::tuple{0, 0, 0, 0},
                                           std::tuple{32767, 32767, 1, 32766}));

TEST(ZoomStep, ScalesAndAccumulates) {
    QSizeF size(4000, 3000);
    const auto step = [&](double f) { size = *reader::zoomStep(size, f, 15); };
    step(reader::kEnlargeFactor);
    step(reader::kShrinkFactor);
    EXPECT_NEAR(size.width(), 4000 * 0.96, 0.01);
    size = {4000, 3000};
    step(1.2);
    step(1.2);
    EXPECT_NEAR(size.height(), 3000 * 1.44, 0.01);
    size = {4000, 3000};
    for (int i = 0; i < 3; ++i) step(0.8);
    EXPECT_NEAR(size.width(), 4000 * 0.512, 0.01);
}

TEST(ZoomStep, RefusesWhatTheDisplayCannotDraw) {
    EXPECT_FALSE(reader::zoomStep({32767 * 15, 100}, 1.2, 15));
    EXPECT_FALSE(reader::zoomStep({16, 100}, 0.8, 15));  // below one pixel
    EXPECT_FALSE(reader::zoomStep({0, 0}, 1.2, 15));
    EXPECT_TRUE(reader::zoomStep({20, 100}, 0.8, 15));
}

}  // namespace
