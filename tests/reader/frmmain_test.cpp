#include "../core/stuck_decode.h"
#include "reader_fixture.h"
#include "settings/frm_choice.h"
#include "support/case_names.h"
#include "support/screen_reader.h"
#include "support/test_files.h"

namespace {

using reader::frmmain;

bool zoomButtons(const frmmain& w) {
    return w.CmdPic[0]->enabled() && w.CmdPic[1]->enabled();
}

TEST_F(ReaderTest, StartsWithCatalogStartupPictureAndHelp) {
    open(kThree);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("澜舟画本编排阅读2002"));
    EXPECT_EQ(w->listVW->rowCount(), 3);
    EXPECT_EQ(w->CurPage, 0);
    EXPECT_FALSE(w->ImgPic->picture().isNull());
    EXPECT_TRUE(w->ImgPic->visible());
    EXPECT_FALSE(w->HScr->visible());
    EXPECT_TRUE(w->RTBoxShow[0]->plainText().contains(QStringLiteral("标准分区")));
    EXPECT_FALSE(w->RTBoxShow[1]->visible());
    EXPECT_EQ(screenreader::expectNamedByCaptions(w.get()), 8);
}

// From a start page (7 past the last row of a new catalog), the presses of a button and the page
// they end on. The wrap at both ends is the page steps' test, a step from no page the wiring's.
TEST_F(ReaderTest, NextAndPreviousWrapAtBothEnds) {
    const struct {
        const char* catalog;
        int start, button, presses, wantPage;
    } cases[] = {{kThree, 1, 5, 4, 2},
                 {kThree, 7, 5, 1, 1},
                 {kThree, 7, 4, 3, 4},
                 {"p1.jpg-p1.txt\r\n", 0, 5, 3, 0},
                 {"", 0, 4, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(casenames::visible(c.catalog, 14) + " from " + std::to_string(c.start));
        open(c.catalog);
        w->CurPage = int16_t(c.start);
        for (int i = 0; i < c.presses; ++i) press(c.button);
        EXPECT_EQ(w->CurPage, c.wantPage);
        EXPECT_TRUE(w->ImgPic->visible());
        if (c.wantPage >= 1 && c.wantPage <= 3) {
            EXPECT_EQ(status(3), QString::number(c.wantPage));
        }
    }
}

// Turning faster than pages decode, the reader still decodes the page it is heading for beside
// the one asked for, so the next key finds it ready and shows it at once.
TEST_F(ReaderTest, TurningFastDecodesThePageAheadOfTheOneStillDecoding) {
    QImage noise(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb(x * 7 ^ y, y * 13, x ^ y));
    const QByteArray photo = testfiles::jpeg(noise);
    QByteArray catalog;
    for (int i = 1; i <= 6; ++i) {
        fx.file(QStringLiteral("p%1.jpg").arg(i), photo);
        catalog += "p" + QByteArray::number(i) + ".jpg-\r\n";
    }
    // Page 3 stands on a slow medium: its decode holds until the test lets it go.
    auto slow = std::make_shared<StuckDecode>(QStringLiteral("p3.jpg"));
    open(catalog);
    w->pageCache().setDecoder(
        [slow](const QDir& b, const QString& n, QSize p, const std::atomic<bool>* s) {
            return slow->decode(b, n, p, s);
        });
    clickRow(1);
    w->pageCache().waitForIdle();  // page 2 decoded ahead
    w->CmdPic_Click(5);            // page 2 at once; page 3 starts decoding
    w->CmdPic_Click(5);            // page 3 is still decoding
    ASSERT_TRUE(w->pipeline().waiting());
    slow->waitUntilStuck();
    EXPECT_TRUE(slow->release());
    w->waitForPage();
    w->pageCache().waitForIdle();
    EXPECT_EQ(status(3), QStringLiteral("3"));
    w->CmdPic_Click(5);
    EXPECT_FALSE(w->pipeline().waiting()) << "page 4 was not decoded ahead";
    EXPECT_EQ(status(3), QStringLiteral("4"));
}

// Home and End, pressed as keys, decode ahead the page the reader goes to next from there: on
// from the first page, back from the last.
TEST_F(ReaderTest, HomeAndEndKeysDecodeTheNextPageAhead) {
    for (int i = 4; i <= 5; ++i) fx.picture(QStringLiteral("p%1.png").arg(i), 50, 50);
    openShown(QByteArray(kThree) + "p4.png-\r\np5.png-\r\n");
    const auto ready = [this](const char* name) {
        w->pageCache().waitForIdle();
        return w->pageCache().isReady(fx.book(), QString::fromLatin1(name),
                                      w->viewport().devicePixels());
    };
    w->RTBoxShow[0]->edit()->setFocus();  // as after reading the text
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    w->waitForPage();
    EXPECT_EQ(w->CurPage, 5);
    EXPECT_TRUE(ready("p4.png"));
    EXPECT_FALSE(ready("p2.bmp"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    w->waitForPage();
    EXPECT_EQ(w->CurPage, 1);
    EXPECT_TRUE(ready("p2.bmp"));
}

TEST_F(ReaderTest, OnePageCatalogRefitsWithoutLoading) {
    open("p1.jpg-p1.txt\r\n");
    clickRow(1);
    const float fitted = w->ImgPic->width();
    press(0);
    press(5);
    EXPECT_NEAR(w->ImgPic->width(), fitted, 1.0);  // refitting rounds the starting size
    EXPECT_EQ(w->CurPage, 1);
    press(2);
    EXPECT_EQ(w->Timer1->interval(), 0);  // nothing to play
}

TEST_F(ReaderTest, ZoomStepsAccumulateAndTheNextFitUndoesThem) {
    open(kThree);
    clickRow(1);
    const float fw = w->ImgPic->width(), fh = w->ImgPic->height();
    for (int b : {0, 1, 0, 0, 0}) press(b);
    EXPECT_NEAR(w->ImgPic->width(), fw * 1.65888, 0.05);
    EXPECT_NEAR(w->ImgPic->height(), fh * 1.65888, 0.05);
    EXPECT_TRUE(w->VScr->visible() && w->HScr->visible());  // larger than the viewport
    w->Form_Resize();
    EXPECT_NEAR(w->ImgPic->width(), fw, 1.0);
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
        EXPECT_TRUE(zoomButtons(*w) && w->CmdPic[2]->enabled());
        EXPECT_TRUE(w->menuPicLarge->isEnabled() && w->menuPicSmall->isEnabled());

        (w.get()->*from)();
        const bool largeBefore = w->menuPicLarge->isEnabled();
        (w.get()->*full)();
        EXPECT_TRUE(zoomButtons(*w) && w->CmdPic[2]->enabled());
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

TEST_F(ReaderTest, AutoPlayKeepsItsOwnOrder) {
    open(kThree);
    press(2);
    EXPECT_EQ(w->Timer1->interval(), 1000);  // the settings' default, dialog never opened
    w->CurPage = 3;
    tick();
    EXPECT_EQ(status(3), "1");  // whatever page the reader had open
    tick();
    tick();
    EXPECT_EQ(status(3), "3");
    press(3);
    EXPECT_EQ(w->Timer1->interval(), 0);
    press(5);
    press(5);
    EXPECT_EQ(w->AutoPlayPage, 3);
    press(2);
    tick();
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
                          Case{"-2", 1500}, Case{"30", 30000}, Case{"100", 30000}}) {
        w->choice().widgets()->TxtTime->setText(QString::fromLatin1(c.typed));
        press(2);
        EXPECT_EQ(w->Timer1->interval(), c.want) << c.typed;
    }
}

}  // namespace
