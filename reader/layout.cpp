#include "layout.h"

namespace reader {

using platform::single;

namespace {

// The scroll bars against the viewport as it stands: the horizontal one under it, the vertical
// one at its width plus `vLeftOffset` (the left frame's width, or nothing in full screen).
void placeScrollBars(LayoutState& s, double vLeftOffset) {
    const platform::Geometry P = s.picPic;
    s.hScr.setTop(single(P.height + 30.0));
    s.hScr.setLeft(P.left);
    s.hScr.setWidth(single(P.width - 50.0));
    s.vScr.setTop(P.top);
    s.vScr.setLeft(single(vLeftOffset + P.width + 50.0));
    s.vScr.setHeight(P.height);
}

}  // namespace

ViewMode viewMode(bool fraTxtCmdVisible, bool picPicVisible) {
    if (!fraTxtCmdVisible) return ViewMode::ImageFullScreen;
    return picPicVisible ? ViewMode::Split : ViewMode::TextMaximised;
}

void relayout(LayoutState& s, const WindowMetrics& m) {
    const double W = m.outerWidth, H = m.outerHeight, SH = m.clientHeight, S = m.statusHeight;

    s.fraTxtCmd.setLeft(50);
    s.fraTxtCmd.setTop(50);
    s.fraTxtCmd.setHeight(single(SH - S * 1.2));
    const double F = s.fraTxtCmd.width;

    s.listVW.setTop(s.fraTxtCmd.top + 150);
    s.listVW.setHeight(single(H * 2.6 / 5));

    const ViewMode mode = viewMode(s.fraTxtCmdVisible, s.picPicVisible);
    switch (mode) {
        case ViewMode::Split:
            s.picPic.setLeft(single(F + 100));
            s.picPic.setTop(50);
            s.picPic.setWidth(single(W - F - 600));
            s.picPic.setHeight(single(s.listVW.height - 100.0));
            s.rtBox.setLeft(s.picPic.left);
            s.rtBox.setTop(single(s.listVW.height + 300.0));
            s.rtBox.setWidth(single(s.picPic.width + 300.0));
            s.rtBox.setHeight(single(H * 1.84 / 5 - S * 1.2));
            s.zoomAndPlayEnabled = true;
            break;
        case ViewMode::TextMaximised:
            s.rtBox.setTop(50);
            s.rtBox.setLeft(single(F + 100));
            s.rtBox.setHeight(s.fraTxtCmd.height);
            s.rtBox.setWidth(single(W - F - S * 1.2));
            s.fraTxtCmdVisible = true;
            s.zoomAndPlayEnabled = false;
            s.menuPicLargeEnabled = false;
            break;
        case ViewMode::ImageFullScreen:
            s.picPic.setTop(s.fraTxtCmd.top);
            s.picPic.setLeft(s.fraTxtCmd.left);
            s.picPic.setWidth(single(W - 600));
            s.picPic.setHeight(single(SH - 500));
            break;
    }

    // In full screen the bar sits at the viewport's right edge; otherwise the frame's width is
    // added, which lays it 50 over the viewport's edge.
    placeScrollBars(s, mode == ViewMode::ImageFullScreen ? 0.0 : F);

    s.fraCmdPic.setTop(single(s.listVW.height + 200.0));
}

void fullScreenLayout(LayoutState& s, const WindowMetrics& m) {
    s.picPic.setTop(s.fraTxtCmd.top);
    s.picPic.setLeft(s.fraTxtCmd.left);
    s.picPic.setWidth(single(double(m.outerWidth) - 600));
    s.picPic.setHeight(single(double(m.clientHeight) - 500));
    placeScrollBars(s, 0.0);
}

void textMaximisedLayout(LayoutState& s) {
    s.rtBox.setTop(50);
    s.rtBox.setLeft(single(s.fraTxtCmd.width + 100.0));
    s.rtBox.setHeight(s.fraTxtCmd.height);
}

}  // namespace reader
