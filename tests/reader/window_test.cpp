// The real reader window on screen: the viewport's inner area as its widgets have it, and what
// closing the window does.
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

class InnerArea : public ::testing::TestWithParam<Mode> {
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
};

TEST_P(InnerArea, IsTheWidgetThatClipsThePicture) {
    frmmain w(fx.book());
    w.endProgram = [] {};
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.listVW_ItemClick(1);
    w.waitForPage();
    enterMode(w, GetParam());
    QApplication::processEvents();
    expectCentredInTheClip(w, "initial window");

    const QSize client = w.client()->size();
    w.resize(w.width() + 173, w.height() + 91);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.client()->size() != client; }));
    QApplication::processEvents();
    expectCentredInTheClip(w, "after a resize");
}

INSTANTIATE_TEST_SUITE_P(Reader, InnerArea,
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
