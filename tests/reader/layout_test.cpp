#include "reader/layout.h"

#include <gtest/gtest.h>

namespace {

using platform::Geometry;
using reader::LayoutState;

// The initial window: outer 9315 x 7830, client height 7140, status bar 420, left frame 2400.
constexpr reader::WindowMetrics kInitial{9315, 7830, 7140, 420};

LayoutState designState(bool fraVisible, bool picVisible) {
    LayoutState s;
    s.fraTxtCmd = {120, 240, 2400, 6480};
    s.listVW = {75, 225, 2265, 3015};
    s.picPic = {2745, 240, 5310, 2085};
    s.rtBox = {3300, 4350, 4515, 2295};
    s.hScr = {3525, 3975, 2280, 315};
    s.vScr = {6000, 2850, 315, 1410};
    s.fraCmdPic = {225, 4200, 1935, 2175};
    s.fraTxtCmdVisible = fraVisible;
    s.picPicVisible = picVisible;
    return s;
}

void expectGeometry(const Geometry& g, Geometry want, const char* what) {
    EXPECT_FLOAT_EQ(g.left, want.left) << what;
    EXPECT_FLOAT_EQ(g.top, want.top) << what;
    EXPECT_FLOAT_EQ(g.width, want.width) << what;
    EXPECT_FLOAT_EQ(g.height, want.height) << what;
}

TEST(Relayout, StandardSplitWorkedExample) {
    LayoutState s = designState(true, true);
    reader::relayout(s, kInitial);
    expectGeometry(s.fraTxtCmd, {50, 50, 2400, 6636}, "frame");
    expectGeometry(s.listVW, {75, 200, 2265, 4071.6f}, "list");
    expectGeometry(s.picPic, {2500, 50, 6315, 3971.6f}, "viewport");
    expectGeometry(s.rtBox, {2500, 4371.6f, 6615, 2377.44f}, "text");
    expectGeometry(s.hScr, {2500, 4001.6f, 6265, 315}, "hscr");
    expectGeometry(s.vScr, {8765, 50, 315, 3971.6f}, "vscr");
    EXPECT_FLOAT_EQ(s.fraCmdPic.top, 4271.6f);
    EXPECT_EQ(s.zoomAndPlayEnabled, true);
    EXPECT_FALSE(s.menuPicLargeEnabled.has_value());
}

TEST(Relayout, TextMaximisedWorkedExample) {
    LayoutState s = designState(true, false);
    const Geometry picBefore = s.picPic;
    reader::relayout(s, kInitial);
    expectGeometry(s.rtBox, {2500, 50, 6411, 6636}, "text");
    expectGeometry(s.picPic, picBefore, "viewport keeps its geometry");
    EXPECT_EQ(s.zoomAndPlayEnabled, false);
    EXPECT_EQ(s.menuPicLargeEnabled, false);
    EXPECT_TRUE(s.fraTxtCmdVisible);
}

TEST(Relayout, ImageFullScreenWorkedExample) {
    for (bool picVisible : {true, false}) {
        LayoutState s = designState(false, picVisible);
        const Geometry textBefore = s.rtBox;
        reader::relayout(s, kInitial);
        expectGeometry(s.picPic, {50, 50, 8715, 6640}, "viewport");
        expectGeometry(s.hScr, {50, 6670, 8665, 315}, "hscr");
        expectGeometry(s.vScr, {8765, 50, 315, 6640}, "vscr");
        expectGeometry(s.rtBox, textBefore, "text keeps its geometry");
        EXPECT_FALSE(s.zoomAndPlayEnabled.has_value());
        EXPECT_FALSE(s.fraTxtCmdVisible);
    }
}

TEST(Relayout, FullScreenCommandMatchesTheResizeBranch) {
    LayoutState fromCommand = designState(false, true);
    reader::relayout(fromCommand, kInitial);  // puts the frame at (50, 50)
    LayoutState fromResize = fromCommand;
    reader::fullScreenLayout(fromCommand, kInitial);
    reader::relayout(fromResize, kInitial);
    EXPECT_EQ(fromCommand.picPic, fromResize.picPic);
    EXPECT_EQ(fromCommand.hScr, fromResize.hScr);
    EXPECT_EQ(fromCommand.vScr, fromResize.vScr);
}

TEST(Relayout, TinyWindowSkipsOnlyTheNegativeAssignments) {
    LayoutState s = designState(true, true);
    reader::relayout(s, kInitial);
    const LayoutState before = s;
    // W - F - 600 < 0 and H * 1.84 / 5 - S * 1.2 < 0; the other values are still written.
    reader::relayout(s, {2000, 1000, 300, 420});
    EXPECT_FLOAT_EQ(s.picPic.width, before.picPic.width);          // skipped
    EXPECT_FLOAT_EQ(s.rtBox.height, before.rtBox.height);          // skipped
    EXPECT_FLOAT_EQ(s.fraTxtCmd.height, before.fraTxtCmd.height);  // 300 - 504 skipped
    EXPECT_FLOAT_EQ(s.listVW.height, 520);
    EXPECT_FLOAT_EQ(s.picPic.height, 420);
    EXPECT_FLOAT_EQ(s.rtBox.top, 820);
    EXPECT_FLOAT_EQ(s.rtBox.width, before.picPic.width + 300);  // reads the kept width
    EXPECT_FLOAT_EQ(s.hScr.top, 450);
    EXPECT_FLOAT_EQ(s.fraCmdPic.top, 720);
}

TEST(Relayout, MinimisedWindowKeepsThePanesAndRestoreBringsThemBack) {
    LayoutState s = designState(true, true);
    reader::relayout(s, kInitial);
    const LayoutState laidOut = s;
    reader::relayout(s, {0, 0, 0, 420});
    reader::relayout(s, kInitial);
    EXPECT_EQ(s.picPic, laidOut.picPic);
    EXPECT_EQ(s.rtBox, laidOut.rtBox);
    EXPECT_EQ(s.fraTxtCmd, laidOut.fraTxtCmd);
}

TEST(Relayout, TallerStatusBarShortensFrameAndTextPane) {
    LayoutState a = designState(true, true), b = designState(true, true);
    reader::relayout(a, kInitial);
    reader::relayout(b, {9315, 7830, 7140, 620});
    EXPECT_FLOAT_EQ(a.fraTxtCmd.height - b.fraTxtCmd.height, 240);
    EXPECT_NEAR(a.rtBox.height - b.rtBox.height, 240, 0.01);
}

}  // namespace
