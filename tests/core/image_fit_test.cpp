#include "core/image_fit.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct FitCase {
    float imageW, imageH, boxW, boxH;
    float wantW, wantH;
};
void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.imageW << 'x' << c.imageH << " in " << c.boxW << 'x' << c.boxH;
}

class FitSize : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitSize, FillsOneDimensionKeepingAspect) {
    const FitCase& c = GetParam();
    platform::Geometry g{0, 0, c.imageW, c.imageH};
    core::fitSize(g, {c.boxW, c.boxH});
    EXPECT_FLOAT_EQ(g.width, c.wantW);
    EXPECT_FLOAT_EQ(g.height, c.wantH);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitSize,
    ::testing::Values(FitCase{800, 600, 6000, 3000, 4000, 3000},    // height fitted
                      FitCase{1200, 300, 6000, 3000, 6000, 1500},   // width fitted
                      FitCase{500, 500, 3000, 3000, 3000, 3000},    // square: ties fit the width
                      FitCase{10, 10, 6000, 3000, 3000, 3000},      // small images grow
                      FitCase{4800, 3600, 6000, 3000, 4000, 3000},  // a zoomed image refits
                      // 600.5 rounds to 600 (halves to even): the width scales by 3000/600.
                      FitCase{800.5f, 600.5f, 6000, 3000, 800.5f * 5, 3000},
                      // Empty picture: the width is set, the height division fails and stays.
                      FitCase{0, 0, 6000, 3000, 6000, 0},
                      // Zero viewport: both ratios fail, the width branch sets 0, height stays.
                      FitCase{800, 600, 0, 0, 0, 0}));

struct AxisCase {
    float image, outer, inner;
    bool scroll;
    float offset;
    int maximum;
};
void PrintTo(const AxisCase& c, std::ostream* os) {
    *os << c.image << " in " << c.inner << " of " << c.outer << (c.scroll ? " at " : " ")
        << c.offset;
}

class PlaceAxis : public ::testing::TestWithParam<AxisCase> {};

TEST_P(PlaceAxis, CentresOrScrolls) {
    const AxisCase& c = GetParam();
    const core::AxisPlacement p = core::placeAxis(c.image, c.outer, c.inner);
    EXPECT_EQ(p.scroll, c.scroll);
    EXPECT_FLOAT_EQ(p.offset, c.offset);
    if (c.scroll) {
        EXPECT_EQ(p.maximum, c.maximum);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceAxis,
    ::testing::Values(AxisCase{3000, 3000, 2940, false, -30, 0},  // not larger than the outer box
                      AxisCase{4000, 6000, 5940, false, 970, 0},
                      AxisCase{3600, 3000, 2940, true, 0, 660},
                      AxisCase{4800, 6000, 5940, false, 570, 0},
                      AxisCase{3000.5f, 3000, 2940, true, 0, 60},  // 60.5 rounds to even
                      AxisCase{3001.5f, 3000, 2940, true, 0, 62},  // 61.5 rounds to even
                      AxisCase{32767 + 2940, 3000, 2940, true, 0, 32767}));

TEST(PlaceAxis, HugeExcessStaysReachable) {
    const core::AxisPlacement p = core::placeAxis(100000, 6000, 5940);
    ASSERT_TRUE(p.scroll);
    EXPECT_EQ(p.maximum, std::numeric_limits<int16_t>::max());
    // At the maximum the image's far edge meets the inner area's edge.
    EXPECT_NEAR(core::scrollOffset(p.maximum, p.unit), -(100000 - 5940), 0.5);
    EXPECT_FLOAT_EQ(core::scrollOffset(0, p.unit), 0);
}

TEST(RoundToInt32, HalvesToEvenAndRefusesOverflow) {
    int32_t v = 0;
    for (auto [in, out] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {4071.6, 4072}}) {
        ASSERT_TRUE(core::roundToInt32(in, v));
        EXPECT_EQ(v, out) << in;
    }
    EXPECT_FALSE(core::roundToInt32(3e9, v));
    EXPECT_FALSE(core::roundToInt32(std::numeric_limits<double>::infinity(), v));
}

}  // namespace
