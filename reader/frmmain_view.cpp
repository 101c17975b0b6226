// Re-layout and the three view modes of the reader window.
#include "frmmain.h"

namespace reader {

LayoutState frmmain::layoutState() const {
    LayoutState s;
    s.fraTxtCmd = FraTxtCmd->geometry();
    s.listVW = listVW->geometry();
    s.picPic = PicPic->geometry();
    s.rtBox = RTBoxShow[0]->geometry();
    s.hScr = HScr->geometry();
    s.vScr = VScr->geometry();
    s.fraCmdPic = FraCmdPic->geometry();
    s.fraTxtCmdVisible = FraTxtCmd->visible();
    s.picPicVisible = PicPic->visible();
    return s;
}

void frmmain::applyLayout(const LayoutState& s) {
    const auto apply = [](platform::Control* c, const platform::Geometry& g) {
        if (c->geometry() != g) c->place(g.left, g.top, g.width, g.height);
    };
    apply(FraTxtCmd, s.fraTxtCmd);
    apply(listVW, s.listVW);
    apply(PicPic, s.picPic);
    apply(RTBoxShow[0], s.rtBox);
    apply(HScr, s.hScr);
    apply(VScr, s.vScr);
    apply(FraCmdPic, s.fraCmdPic);
    if (s.fraTxtCmdVisible != FraTxtCmd->visible()) FraTxtCmd->setVisible(s.fraTxtCmdVisible);
    if (s.zoomAndPlayEnabled)
        for (int i = 0; i < 3; ++i) CmdPic[i]->setEnabled(*s.zoomAndPlayEnabled);
    if (s.menuPicLargeEnabled) menuPicLarge->setEnabled(*s.menuPicLargeEnabled);
}

void frmmain::Form_Resize() {
    stBar->dock(scaleWidth(), scaleHeight());
    const WindowMetrics m = metrics();
    ImgPic->setVisible(false);
    LayoutState s = layoutState();
    relayout(s, m);
    applyLayout(s);
    viewport_->FitImage();
    viewport_->PlaceImage();
    ImgPic->setVisible(true);
}

void frmmain::menuReader_Click() {
    FraTxtCmd->setVisible(true);
    RTBoxShow[0]->setVisible(true);
    PicPic->setVisible(true);
    for (int i = 0; i < 3; ++i) CmdPic[i]->setEnabled(true);
    Form_Resize();
    menuPicLarge->setEnabled(true);
    menuPicSmall->setEnabled(true);
}

void frmmain::menuPicFullScr_Click() {
    PicPic->setVisible(true);
    for (int i = 0; i < 3; ++i) CmdPic[i]->setEnabled(true);
    CmdPic_Click(6);
}

void frmmain::menuTextLarge_Click() {
    menuReader_Click();
    PicPic->setVisible(false);
    LayoutState s = layoutState();
    textMaximisedLayout(s);
    applyLayout(s);
    CmdPic[0]->setEnabled(false);
    CmdPic[1]->setEnabled(false);
    menuPicLarge->setEnabled(false);
    menuPicSmall->setEnabled(false);
}

void frmmain::imageFullScreen(const WindowMetrics& m) {
    FraTxtCmd->setVisible(false);
    RTBoxShow[0]->setVisible(false);
    PicPic->setVisible(false);
    LayoutState s = layoutState();
    fullScreenLayout(s, m);
    applyLayout(s);
    viewport_->FitImage();
    viewport_->PlaceImage();
    PicPic->setVisible(true);
}

void frmmain::ImgPic_Click() {
    menuPicFullScr_Click();
}

void frmmain::ImgPic_DblClick() {
    menuReader_Click();
}

// Esc presses the exit button; in image full screen, where that button is hidden with the
// command bar, it brings the reader back to the standard split instead.
void frmmain::onEscape() {
    if (!FraTxtCmd->visible())
        menuReader_Click();
    else
        CmdPic_Click(7);
}

}  // namespace reader
