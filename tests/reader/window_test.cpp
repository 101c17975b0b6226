// The real reader window on screen: the panes and the viewport's inner area as its widgets have
// them in each view, before and after a resize, and what closing the window does.
#include "platform/twips.h"
#include "reader_fixture.h"
#include "settings/frm_choice.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

using reader::frmmain;

class RealWindow : public ::testing::TestWithParam<Mode> {
  protected:
    BookFixture fx;

    void SetUp() override {
        fx.picture("tall.png", 300, 900, Qt::red);
        fx.catalog("tall.png-\r\n");
    }

    // The size the placement works with is the widget that clips the picture, and the picture
    // is centred in it (to the pixel the rounding allows).
    static void expectCentredInTheClip(const frmmain& w, const char* when) {
        SCOPED_TRACE(when);
        const QRect clip = w.PicPic->inner()->geometry();
        EXPECT_EQ(platform::toPixels(w.PicPic->scaleWidth()), clip.width());
        EXPECT_EQ(platform::toPixels(w.PicPic->scaleHeight()), clip.height());
        EXPECT_TRUE(w.PicPic->widget()->rect().contains(clip));
        const QRect pic = w.ImgPic->widget()->geometry();
        const int leftGap = pic.left(), rightGap = clip.width() - (pic.left() + pic.width());
        const int topGap = pic.top(), bottomGap = clip.height() - (pic.top() + pic.height());
        EXPECT_LE(std::abs(leftGap - rightGap), 1) << leftGap << " " << rightGap;
        EXPECT_LE(std::abs(topGap - bottomGap), 1) << topGap << " " << bottomGap;
    }

    // The panes of the view, in the client's pixels: the catalog frame, the viewport, the text.
    static std::vector<QRect> panes(const frmmain& w) {
        std::vector<QRect> shown;
        for (const platform::Control* c :
             std::initializer_list<const platform::Control*>{w.FraTxtCmd, w.PicPic, w.RTBoxShow[0]})
            shown.push_back(c->widget()->isVisible() ? c->widget()->geometry() : QRect());
        return shown;
    }

    // Side by side without overlapping, inside the window; the catalog clear of the status bar;
    // the split's text under its viewport, the maximised text as tall as the catalog, the full
    // screen's viewport over nearly the whole window.
    static void expectTiled(const frmmain& w, Mode mode) {
        const std::vector<QRect> p = panes(w);
        const QRect& frame = p[0];
        const QRect& picture = p[1];
        const QRect& text = p[2];
        const QRect client = w.client()->rect();
        for (std::size_t i = 0; i < p.size(); ++i) {
            EXPECT_EQ(p[i].isEmpty(), (mode == Mode::FullScreen && i != 1) ||
                                          (mode == Mode::TextMaximised && i == 1))
                << i;
            EXPECT_TRUE(p[i].isEmpty() || client.contains(p[i])) << i;
            for (std::size_t j = i + 1; j < p.size(); ++j)
                EXPECT_FALSE(p[i].intersects(p[j])) << i << " " << j;
        }
        EXPECT_TRUE(frame.isEmpty() || frame.bottom() < w.stBar->widget()->geometry().top());
        if (mode == Mode::Split) {
            EXPECT_GT(text.top(), picture.bottom());
            EXPECT_EQ(text.left(), picture.left());
        }
        if (mode == Mode::TextMaximised) {
            EXPECT_EQ(text.top(), frame.top());
            EXPECT_NEAR(text.bottom(), frame.bottom(), 1);
        }
        if (mode == Mode::FullScreen) {
            EXPECT_GT(picture.width(), client.width() * 9 / 10);
            EXPECT_GT(picture.height(), client.height() * 8 / 10);
        }
    }
};

TEST_P(RealWindow, PanesTileAndThePictureIsCentredInItsClipBeforeAndAfterAResize) {
    frmmain w(fx.book());
    w.endProgram = [] {};
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.listVW_ItemClick(1);
    w.waitForPage();
    const Mode mode = GetParam();
    enterMode(w, mode);
    QApplication::processEvents();
    expectCentredInTheClip(w, "initial window");
    expectTiled(w, mode);
    // A resize to the same size keeps what the view's command laid out (the maximised text's
    // width is left to the next resize).
    const std::vector<QRect> before = panes(w);
    w.Form_Resize();
    if (mode != Mode::TextMaximised) {
        EXPECT_EQ(panes(w), before);
    }

    const QSize client = w.client()->size();
    w.resize(w.width() + 173, w.height() + 91);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.client()->size() != client; }));
    QApplication::processEvents();
    expectCentredInTheClip(w, "after a resize");
    expectTiled(w, mode);
    // The main pane takes the whole of the growth across, and down where it is full height.
    const int main = mode == Mode::TextMaximised ? 2 : 1;
    const QSize grown = panes(w)[main].size() - before[main].size();
    if (mode != Mode::TextMaximised) {
        EXPECT_NEAR(grown.width(), 173, 1);
    }
    if (mode != Mode::Split) {
        EXPECT_NEAR(grown.height(), 91, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Reader, RealWindow,
                         ::testing::Values(Mode::Split, Mode::FullScreen, Mode::TextMaximised));

// Closing from the title bar ends the run like 退出(&X): the settings dialog and a window of its
// own (as the catalog builder is) go with it, and the event loop returns.
TEST(ReaderWindow, ClosingEndsTheProgramWithEveryWindow) {
    BookFixture fx;
    fx.catalog("");
    frmmain w(fx.book());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.menuPicData_Click();
    QPointer<QDialog> settings = w.choice().widgets()->dialog;
    QWidget other;
    other.show();

    QTimer::singleShot(0, &w, [&w] { w.close(); });
    // A run that does not end is stopped here and counts as a failure.
    QTimer stuck;
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stuck.start(3000);
    EXPECT_EQ(QApplication::exec(), 0);
    // Closing the last window posts another quit; left queued, it would end the next test's
    // first modal dialog at once.
    QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
    EXPECT_FALSE(other.isVisible());
    EXPECT_TRUE(!settings || !settings->isVisible());
}

}  // namespace
