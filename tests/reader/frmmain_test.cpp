#include "reader/frmmain.h"
#include "../core/book_fixture.h"
#include "settings/frm_choice.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

using reader::frmmain;

// The reader with the initial window's metrics, whatever the offscreen platform's frame is.
class TestReader : public frmmain {
  public:
    using frmmain::frmmain;
    reader::WindowMetrics m{9315, 7830, 7140, 420};
    int endCalls = 0;

  protected:
    reader::WindowMetrics metrics() const override { return m; }
};

class ReaderTest : public ::testing::Test {
  protected:
    BookFixture fx;
    std::unique_ptr<TestReader> w;

    void open(const QByteArray& catalog) {
        fx.catalog(catalog);
        w = std::make_unique<TestReader>(fx.book());
        w->endProgram = [this] { ++w->endCalls; };
        w->Form_Resize();
    }
    void SetUp() override {
        fx.picture("p1.jpg", 80, 60);
        fx.picture("p2.bmp", 40, 80);
        fx.picture("p3.png", 60, 60);
        for (const char* name : {"p1.txt", "p2.txt", "p3.txt"})
            fx.file(QString::fromLatin1(name), QByteArray("text of ") + name);
    }
    QString status(int panel) const { return w->stBar->panelText(panel); }
    bool zoomButtons() const { return w->CmdPic[0]->enabled() && w->CmdPic[1]->enabled(); }
};

constexpr char kThree[] = "p1.jpg-p1.txt\r\np2.bmp-p2.txt\r\np3.png-p3.txt\r\n";

TEST_F(ReaderTest, StartsWithCatalogStartupPictureAndHelp) {
    open(kThree);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("澜舟画本编排阅读2002"));
    EXPECT_EQ(w->listVW->rowCount(), 3);
    EXPECT_EQ(w->CurPage, 0);
    EXPECT_FALSE(w->ImgPic->picture().isNull());
    EXPECT_EQ(w->ImgPic->picture().image().size(), QSize(734, 488));
    EXPECT_TRUE(w->ImgPic->visible());
    EXPECT_FALSE(w->HScr->visible());
    EXPECT_TRUE(w->RTBoxShow[0]->plainText().contains(QStringLiteral("标准分区")));
    EXPECT_FALSE(w->RTBoxShow[1]->visible());
    // The start-up picture is fitted to the split viewport (6315 x 3971.6).
    EXPECT_FLOAT_EQ(w->PicPic->width(), 6315);
    EXPECT_TRUE(w->ImgPic->width() == 6315 || w->ImgPic->height() == 3971.6f);
}

TEST_F(ReaderTest, LaysOutTheWorkedExampleOnRealControls) {
    open(kThree);
    EXPECT_EQ(w->RTBoxShow[0]->geometry(), (platform::Geometry{2500, 4371.6f, 6615, 2377.44f}));
    EXPECT_FLOAT_EQ(w->VScr->left(), 8765);
    EXPECT_FLOAT_EQ(w->FraCmdPic->top(), 4271.6f);
}

TEST_F(ReaderTest, CatalogClickShowsThatPage) {
    open(kThree);
    w->listVW_ItemClick(2);
    EXPECT_EQ(w->CurPage, 2);
    EXPECT_EQ(status(2), "p2");
    EXPECT_EQ(status(3), "2");
    EXPECT_EQ(w->RTBoxShow[0]->plainText(), "text of p2.txt");
    EXPECT_EQ(w->ImgPic->picture().image().size(), QSize(40, 80));
}

// From a start page, the presses of a button and the pages they end on.
struct NavCase {
    const char* catalog;
    int start;
    int button;
    int presses;
    int wantPage;
};

class Navigation : public ReaderTest, public ::testing::WithParamInterface<NavCase> {};

TEST_P(Navigation, WrapsAtBothEnds) {
    const NavCase& c = GetParam();
    open(c.catalog);
    w->CurPage = int16_t(c.start);
    for (int i = 0; i < c.presses; ++i) w->CmdPic_Click(c.button);
    EXPECT_EQ(w->CurPage, c.wantPage);
    EXPECT_TRUE(w->ImgPic->visible());
    if (c.wantPage >= 1 && c.wantPage <= w->listVW->rowCount()) {
        EXPECT_EQ(status(3), QString::number(c.wantPage));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Navigation,
                         ::testing::Values(NavCase{kThree, 0, 5, 1, 1},  // next from the start
                                           NavCase{kThree, 0, 4, 1, 3},  // previous from the start
                                           NavCase{kThree, 3, 5, 1, 1}, NavCase{kThree, 1, 4, 1, 3},
                                           NavCase{kThree, 1, 5, 4, 2},
                                           NavCase{"p1.jpg-p1.txt\r\n", 0, 5, 3, 0},
                                           NavCase{"", 0, 4, 2, 0},
                                           NavCase{kThree, 7, 5, 1, 1},  // past the last row
                                           NavCase{kThree, 7, 4, 3, 4}));

TEST_F(ReaderTest, OnePageCatalogRefitsWithoutLoading) {
    open("p1.jpg-p1.txt\r\n");
    w->listVW_ItemClick(1);
    const float fitted = w->ImgPic->width();
    w->CmdPic_Click(0);
    w->CmdPic_Click(5);
    EXPECT_NEAR(w->ImgPic->width(), fitted, 1.0);  // refitting rounds the starting size
    EXPECT_EQ(w->CurPage, 1);
    w->CmdPic_Click(2);
    EXPECT_EQ(w->Timer1->interval(), 0);  // nothing to play
}

TEST_F(ReaderTest, ZoomStepsAccumulateAndTheNextFitUndoesThem) {
    open(kThree);
    w->listVW_ItemClick(1);
    const float fw = w->ImgPic->width(), fh = w->ImgPic->height();
    struct Step {
        std::vector<int> buttons;
        double factor;
    };
    for (const Step& s :
         {Step{{0, 1}, 0.96}, Step{{1, 0}, 0.96}, Step{{0, 0}, 1.44}, Step{{1, 1, 1}, 0.512}}) {
        w->listVW_ItemClick(1);
        for (int b : s.buttons) w->CmdPic_Click(b);
        EXPECT_NEAR(w->ImgPic->width(), fw * s.factor, 0.05) << s.factor;
        EXPECT_NEAR(w->ImgPic->height(), fh * s.factor, 0.05) << s.factor;
    }
    w->listVW_ItemClick(1);
    w->CmdPic_Click(0);
    w->CmdPic_Click(0);
    EXPECT_TRUE(w->VScr->visible() && w->HScr->visible());  // larger than the viewport
    w->Form_Resize();
    EXPECT_NEAR(w->ImgPic->width(), fw, 1.0);
}

TEST_F(ReaderTest, ZoomRefusesSizesTheDisplayCannotDraw) {
    open(kThree);
    w->listVW_ItemClick(1);
    for (int i = 0; i < 200; ++i) w->menuPicLarge_Click();
    EXPECT_LE(w->ImgPic->width(), 32767 * 15.0f);
    for (int i = 0; i < 400; ++i) w->menuPicSmall_Click();
    EXPECT_GE(w->ImgPic->width(), 15.0f);
    EXPECT_TRUE(w->ImgPic->visible());
}

TEST_F(ReaderTest, FullScreenGeometryAndWayBack) {
    open(kThree);
    w->CmdPic_Click(6);
    EXPECT_FALSE(w->FraTxtCmd->visible());
    EXPECT_FALSE(w->RTBoxShow[0]->visible());
    EXPECT_TRUE(w->PicPic->visible());
    EXPECT_EQ(w->PicPic->geometry(), (platform::Geometry{50, 50, 8715, 6640}));
    EXPECT_EQ(w->HScr->geometry().top, 6670);
    EXPECT_EQ(w->HScr->geometry().width, 8665);
    EXPECT_EQ(w->VScr->geometry(), (platform::Geometry{8765, 50, 315, 6640}));
    w->Form_Resize();  // a resize keeps full screen
    EXPECT_FALSE(w->FraTxtCmd->visible());
    EXPECT_EQ(w->PicPic->geometry(), (platform::Geometry{50, 50, 8715, 6640}));
    w->ImgPic_DblClick();
    EXPECT_TRUE(w->FraTxtCmd->visible());
    EXPECT_TRUE(w->RTBoxShow[0]->visible());
    EXPECT_FLOAT_EQ(w->PicPic->width(), 6315);
}

// Every row of the enabled-state table: after each command, from each mode.
TEST_F(ReaderTest, EnabledStatesFollowTheViewCommands) {
    open(kThree);
    using Cmd = void (frmmain::*)();
    const Cmd split = &frmmain::menuReader_Click, full = &frmmain::menuPicFullScr_Click,
              text = &frmmain::menuTextLarge_Click;
    for (Cmd from : {split, full, text}) {
        (w.get()->*from)();
        (w.get()->*split)();
        EXPECT_TRUE(zoomButtons() && w->CmdPic[2]->enabled());
        EXPECT_TRUE(w->menuPicLarge->isEnabled() && w->menuPicSmall->isEnabled());

        (w.get()->*from)();
        const bool largeBefore = w->menuPicLarge->isEnabled();
        (w.get()->*full)();
        EXPECT_TRUE(zoomButtons() && w->CmdPic[2]->enabled());
        EXPECT_EQ(w->menuPicLarge->isEnabled(), largeBefore);  // unchanged

        (w.get()->*from)();
        (w.get()->*text)();
        EXPECT_FALSE(w->CmdPic[0]->enabled() || w->CmdPic[1]->enabled());
        EXPECT_TRUE(w->CmdPic[2]->enabled());  // until the next resize
        EXPECT_FALSE(w->menuPicLarge->isEnabled() || w->menuPicSmall->isEnabled());
        EXPECT_FALSE(w->PicPic->visible());
        EXPECT_EQ(w->RTBoxShow[0]->geometry().top, 50);
        w->Form_Resize();
        EXPECT_FALSE(w->CmdPic[2]->enabled());
        EXPECT_FLOAT_EQ(w->RTBoxShow[0]->width(), 6411);
    }
}

TEST_F(ReaderTest, ClickOnThePictureShowsItFullScreen) {
    open(kThree);
    w->ImgPic_Click();
    EXPECT_FALSE(w->FraTxtCmd->visible());
}

TEST_F(ReaderTest, EscReturnsFromFullScreenAndEndsOtherwise) {
    open(kThree);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->CmdPic_Click(6);
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_TRUE(w->FraTxtCmd->visible());
    EXPECT_EQ(w->endCalls, 0);
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_EQ(w->endCalls, 1);
}

TEST_F(ReaderTest, AutoPlayKeepsItsOwnOrder) {
    open(kThree);
    w->CmdPic_Click(2);
    EXPECT_EQ(w->Timer1->interval(), 1000);  // the settings' default, dialog never opened
    w->CurPage = 3;
    w->Timer1_Timer();
    EXPECT_EQ(status(3), "1");  // whatever page the reader had open
    w->Timer1_Timer();
    w->Timer1_Timer();
    EXPECT_EQ(status(3), "3");
    w->CmdPic_Click(3);
    EXPECT_EQ(w->Timer1->interval(), 0);
    w->CmdPic_Click(5);
    w->CmdPic_Click(5);
    EXPECT_EQ(w->AutoPlayPage, 3);
    w->CmdPic_Click(2);
    w->Timer1_Timer();
    EXPECT_EQ(status(3), "1");  // wraps from the last page
    EXPECT_EQ(w->CurPage, 2);   // untouched by auto-play
}

TEST_F(ReaderTest, AutoPlayUsesTheTypedIntervalAtTheNextStart) {
    open(kThree);
    w->choice().TxtTimeText();  // creates the settings hidden
    struct Case {
        const char* typed;
        int want;
    };
    for (const Case& c : {Case{"0.5", 500}, Case{"1.5", 1500}, Case{"abc", 1500}, Case{"0", 1500},
                          Case{"-2", 1500}, Case{"30", 30000}}) {
        w->choice().widgets()->TxtTime->setText(QString::fromLatin1(c.typed));
        w->CmdPic_Click(2);
        EXPECT_EQ(w->Timer1->interval(), c.want) << c.typed;
    }
}

TEST_F(ReaderTest, HelpStopsAutoPlayAndShowsTheHelpMaximised) {
    open(kThree);
    w->CmdPic_Click(2);
    w->listVW_ItemClick(3);
    w->menuHelp_Click();
    EXPECT_EQ(w->Timer1->interval(), 0);
    EXPECT_EQ(w->CurPage, 1);
    EXPECT_FALSE(w->PicPic->visible());
    EXPECT_EQ(w->RTBoxShow[0]->plainText(), w->RTBoxShow[1]->plainText());
    w->CmdPic_Click(5);
    EXPECT_EQ(status(3), "2");
}

TEST_F(ReaderTest, ExitCommandsEndTheProgram) {
    open(kThree);
    w->CmdPic_Click(7);
    w->menuExit_Click();
    EXPECT_EQ(w->endCalls, 2);
}

TEST_F(ReaderTest, MenuTreeHasEveryItemAndShortcut) {
    open(kThree);
    const std::pair<QAction*, QKeySequence> items[] = {
        {w->menuPicData, QKeySequence("Ctrl+P")}, {w->menuTextBack, QKeySequence("Ctrl+T")},
        {w->menuReader, QKeySequence("F1")},      {w->menuPicFullScr, QKeySequence("F2")},
        {w->menuTextLarge, QKeySequence("F3")},   {w->menuPicLarge, QKeySequence("F5")},
        {w->menuPicSmall, QKeySequence("F6")},    {w->menuAutoShow, QKeySequence("F7")},
        {w->menuStopAuto, QKeySequence("F8")}};
    for (const auto& [action, key] : items)
        EXPECT_EQ(action->shortcut(), key) << action->text().toStdString();
    EXPECT_EQ(w->menuHelp->text(), QStringLiteral("帮助(&H)"));
    EXPECT_EQ(w->menuExit->text(), QStringLiteral("退出(&X)"));
    EXPECT_EQ(w->CmdPic[7]->button()->text(), QStringLiteral("退出(&E)"));
    EXPECT_EQ(w->CmdPic[6]->widget()->toolTip(), QStringLiteral("满屏显示图像"));
}

}  // namespace
