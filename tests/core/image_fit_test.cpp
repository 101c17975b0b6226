#include "core/image_fit.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(FitSize, FillsOneDimensionKeepingAspect) {
    struct Case {
        float imageW, imageH, boxW, boxH, wantW, wantH;
    };
    for (const Case& c : {
             Case{800, 600, 6000, 3000, 4000, 3000},    // height fitted
             Case{1200, 300, 6000, 3000, 6000, 1500},   // width fitted
             Case{500, 500, 3000, 3000, 3000, 3000},    // square: ties fit the width
             Case{10, 10, 6000, 3000, 3000, 3000},      // small images grow
             Case{4800, 3600, 6000, 3000, 4000, 3000},  // a zoomed image refits
             // 600.5 rounds to 600 (halves to even): the width scales by 3000/600.
             Case{800.5f, 600.5f, 6000, 3000, 800.5f * 5, 3000},
             // Empty picture: the width is set, the height division fails and stays.
             Case{0, 0, 6000, 3000, 6000, 0},
             // Zero viewport: both ratios fail, the width branch sets 0, height stays.
             Case{800, 600, 0, 0, 0, 0},
         }) {
        SCOPED_TRACE(testing::Message() << c.imageW << 'x' << c.imageH << " in " << c.boxW);
        platform::Geometry g{0, 0, c.imageW, c.imageH};
        core::fitSize(g, {c.boxW, c.boxH});
        EXPECT_FLOAT_EQ(g.width, c.wantW);
        EXPECT_FLOAT_EQ(g.height, c.wantH);
    }
}

TEST(PlaceAxis, CentresOrScrolls) {
    struct Case {
        float image, outer, inner;
        bool scroll;
        float offset;
        int maximum;
    };
    for (const Case& c : {
             Case{3000, 3000, 2940, false, -30, 0},  // not larger than the outer box
             Case{4000, 6000, 5940, false, 970, 0},
             Case{3600, 3000, 2940, true, 0, 660},
             Case{4800, 6000, 5940, false, 570, 0},
             Case{3000.5f, 3000, 2940, true, 0, 60},  // 60.5 rounds to even
             Case{3001.5f, 3000, 2940, true, 0, 62},  // 61.5 rounds to even
             Case{32767 + 2940, 3000, 2940, true, 0, 32767},
         }) {
        SCOPED_TRACE(testing::Message() << c.image << " in " << c.inner << " of " << c.outer);
        const core::AxisPlacement p = core::placeAxis(c.image, c.outer, c.inner);
        EXPECT_EQ(p.scroll, c.scroll);
        EXPECT_FLOAT_EQ(p.offset, c.offset);
        EXPECT_EQ(p.scroll ? p.maximum : 0, c.maximum);
    }
}

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
