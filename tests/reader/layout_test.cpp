// The window's panes as the user sees them are checked on the real window; here what no window
// manager lets a test do reliably: a window made tiny or minimised, and restored.
#include "reader/layout.h"

#include <gtest/gtest.h>

namespace {

using reader::LayoutState;

TEST(Relayout, ATinyOrMinimisedWindowLeavesNoNegativeSizeAndRestoringBringsThePanesBack) {
    constexpr reader::WindowMetrics kInitial{9315, 7830, 7140, 420};
    for (const bool picVisible : {true, false}) {
        for (const reader::WindowMetrics small :
             {reader::WindowMetrics{2000, 1000, 300, 420}, reader::WindowMetrics{0, 0, 0, 420}}) {
            LayoutState s;
            s.picPicVisible = picVisible;
            reader::relayout(s, kInitial);
            const LayoutState laidOut = s;
            reader::relayout(s, small);
            for (const platform::Geometry& g :
                 {s.fraTxtCmd, s.listVW, s.picPic, s.rtBox, s.hScr, s.vScr, s.fraCmdPic})
                EXPECT_TRUE(g.width >= 0 && g.height >= 0) << small.outerWidth;
            reader::relayout(s, kInitial);
            EXPECT_EQ(s.picPic, laidOut.picPic);
            EXPECT_EQ(s.rtBox, laidOut.rtBox);
            EXPECT_EQ(s.fraTxtCmd, laidOut.fraTxtCmd);
            EXPECT_EQ(s.listVW, laidOut.listVW);
        }
    }
}

}  // namespace
