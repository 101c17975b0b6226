#include "platform/controls.h"
#include "platform/image_control.h"
#include "platform/list_view.h"
#include "platform/picture_box.h"
#include "platform/rich_text_box.h"
#include "platform/scroll_bar.h"
#include "platform/status_bar.h"
#include "platform/timer.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <limits>

namespace {

// Geometry is kept in twips exactly and mapped edge by edge to pixels; a size that is negative or
// not finite is refused on its own, leaving the rest as it was.
TEST(Control, KeepsTwipsExactlyAndRefusesImpossibleSizes) {
    QWidget parent;
    platform::Label label(QStringLiteral("x"), &parent);
    label.place(2500, 4371.6f, 6615, 2377.44f);
    EXPECT_FLOAT_EQ(label.top(), 4371.6f);
    EXPECT_FLOAT_EQ(label.height(), 2377.44f);
    // 4371.6 / 15 = 291.44 -> 291; bottom 6749.04 / 15 = 449.9 -> 450.
    EXPECT_EQ(label.widget()->geometry(), QRect(167, 291, 441, 159));

    label.place(10, 20, 300, 400);
    EXPECT_FALSE(label.setWidth(-1));
    EXPECT_FALSE(label.setHeight(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(label.setLeft(std::numeric_limits<float>::infinity()));
    EXPECT_TRUE(label.setLeft(-50));  // positions may be negative
    EXPECT_TRUE(label.setWidth(0));
    EXPECT_EQ(label.geometry(), (platform::Geometry{-50, 20, 0, 400}));

    // A disabled container greys the control out but does not change its own flag.
    parent.setEnabled(false);
    EXPECT_TRUE(label.enabled());
    label.setEnabled(false);
    EXPECT_FALSE(label.enabled());
}

// Set by code or stepped by the user, the bar says it changed only for a new value.
TEST(ScrollBar, ChangedOnlyForADifferentValueAndClampedToRange) {
    QWidget parent;
    platform::ScrollBar bar(Qt::Horizontal, &parent);
    bar.setMaximum(660);
    bar.setSmallChange(10);
    bar.setLargeChange(100);
    QSignalSpy changed(&bar, &platform::ScrollBar::changed);
    bar.setValue(100);
    bar.setValue(100);
    bar.bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar.bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.value(), 210);
    bar.setValue(5000);
    ASSERT_EQ(changed.count(), 4);
    EXPECT_EQ(changed.at(3).at(0).toInt(), 660);
    bar.setMaximum(300);  // lowering the maximum pulls the value down with it
    EXPECT_EQ(bar.value(), 300);
    EXPECT_EQ(changed.count(), 5);
}

TEST(Timer, IntervalZeroStopsAndOutOfRangeIsRefused) {
    platform::Timer timer;
    QSignalSpy ticks(&timer, &platform::Timer::tick);
    EXPECT_TRUE(timer.setInterval(5));
    EXPECT_TRUE(ticks.wait(1000));
    EXPECT_TRUE(timer.setInterval(0));
    ticks.clear();
    QTest::qWait(30);
    EXPECT_EQ(ticks.count(), 0);
    EXPECT_FALSE(timer.setInterval(-1));
    EXPECT_FALSE(timer.setInterval(100000));
    EXPECT_EQ(timer.interval(), 0);
}

// The inner area of a placed box is read from the real widgets by the reader window's tests.
TEST(PictureBox, ABoxNarrowerThanItsBorderHasNoInnerArea) {
    QWidget parent;
    platform::PictureBox box(&parent);
    box.place(0, 0, 20, 3000);
    EXPECT_FLOAT_EQ(box.scaleWidth(), 0);
}

TEST(RichTextBox, LoadsRtfOrPlainTextAndRefusesWhatItCannotRead) {
    QWidget parent;
    platform::RichTextBox box(&parent);
    ASSERT_TRUE(box.loadBytes("{\\rtf1\\ansi Hello\\par}"));
    EXPECT_EQ(box.plainText().trimmed(), "Hello");
    ASSERT_TRUE(box.loadBytes("\xc4\xe3\xba\xc3"));  // GBK plain text
    EXPECT_FALSE(box.loadBytes(""));
    EXPECT_FALSE(box.loadFile(QStringLiteral("/nonexistent/file.rtf")));
    EXPECT_EQ(box.plainText(), QStringLiteral("你好"));  // a refused load keeps what was shown

    platform::RichTextBox other(&parent);
    other.loadBytes("{\\rtf1\\ansi {\\b Bold}\\par}");
    box.setContentFrom(other);
    QTextCursor cursor(box.document());
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_NE(box.document(), other.document());
}

TEST(StatusBar, PanelsOneToThreeAreReadByScreenReaders) {
    QWidget parent;
    platform::StatusBar bar(&parent);
    for (int panel = 1; panel <= 3; ++panel) {
        const QString text = QStringLiteral("面板%1").arg(panel);
        bar.setPanelText(panel, text);
        EXPECT_EQ(bar.panelText(panel), text);
        QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(bar.panel(panel));
        ASSERT_NE(a11y, nullptr);
        EXPECT_EQ(a11y->text(QAccessible::Name), text);
        bar.setPanelText(panel, QString());  // an empty panel is named by what it is for
        EXPECT_FALSE(a11y->text(QAccessible::Name).isEmpty());
        bar.setPanelText(panel, text);
    }
    bar.setPanelText(4, QStringLiteral("x"));  // no such panel: nothing happens
    EXPECT_EQ(bar.panelText(0), QString());
    bar.setHeight(420);
    bar.dock(9195, 7140);
    EXPECT_EQ(bar.geometry(), (platform::Geometry{0, 6720, 9195, 420}));
}

TEST(StatusBar, AMessageInPanelOneIsShownInFullWhereTheBarHasRoom) {
    QWidget parent;
    parent.resize(640, 480);
    platform::StatusBar bar(&parent);
    bar.place(0, 0, 9195, 420);  // 613 pixels
    parent.show();
    const QString message = QStringLiteral("无法读取目录文件 DocItem.txt：不是普通文件");
    bar.setPanelText(1, message);
    bar.setPanelText(2, QStringLiteral("标题"));
    QApplication::processEvents();
    const QLabel* panel = bar.panel(1);
    EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(message));
    bar.setPanelText(1, message.repeated(10));  // never more than most of the bar
    QApplication::processEvents();
    EXPECT_LE(panel->width(), 613 * 3 / 5 + 1);
    EXPECT_GE(bar.panel(2)->width(), 60);
}

TEST(ListView, ClickOrEnterOpensARowOnceAndADoubleClickDoesNotOpenItAgain) {
    QWidget parent;
    parent.resize(300, 300);
    platform::ListView list(&parent);
    list.place(0, 0, 3000, 3000);
    list.addColumn(QStringLiteral("N"), 1500);
    for (const char* n : {"1", "2"}) list.addRow(QString::fromLatin1(n));
    parent.show();
    QSignalSpy rows(&list, &platform::ListView::itemClicked);
    QTreeView* tree = list.tree();
    const QPoint second = tree->visualRect(tree->model()->index(1, 0)).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, second);
    ASSERT_EQ(rows.count(), 1);
    EXPECT_EQ(rows.at(0).at(0).toInt(), 2);
    rows.clear();
    tree->setFocus();
    tree->setCurrentIndex(tree->model()->index(0, 0));
    QTest::keyClick(tree, Qt::Key_Return);
    ASSERT_EQ(rows.count(), 1);
    EXPECT_EQ(rows.at(0).at(0).toInt(), 1);
    rows.clear();
    // Through the window, so the press is seen as a real one: the activation of a double-click
    // arrives while the button is down.
    const QPoint inWindow = tree->viewport()->mapTo(&parent, second);
    QTest::mouseDClick(parent.windowHandle(), Qt::LeftButton, {}, inWindow);
    EXPECT_EQ(rows.count(), 1);
}

// Only web pages and mail reach the system; files, programs and scripts a book names do not.
TEST(RichTextBox, OpensOnlyWebAndMailLinks) {
    for (const char* url : {"http://example.com/a", "HTTPS://example.com", "mailto:a@example.com"})
        EXPECT_TRUE(platform::isSafeLink(QUrl(url))) << url;
    for (const char* url :
         {"file:///etc/passwd", "C:/Windows/x.exe", "javascript:alert(1)", "ftp://example.com",
          "page2.rtf", "http://", "mailto:", "smb://host/share"})
        EXPECT_FALSE(platform::isSafeLink(QUrl(url))) << url;
}

// On a screen with two device pixels per pixel the picture is drawn at device pixels: a picture
// shown at half its natural size keeps every one of its pixel columns, where drawing at the
// coarser pixels first and enlarging would blur the stripes to grey. Layout stays in pixels.
TEST(ImageControl, DrawsAtDevicePixelsOnADoubleDensityScreen) {
    QImage stripes(40, 20, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        for (int y = 0; y < stripes.height(); ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QWidget parent;
    platform::ImageControl image(&parent);
    image.setPicture(platform::Picture(stripes));
    image.setStretch(true);
    image.place(0, 0, image.width() / 2, image.height() / 2);
    ASSERT_EQ(image.widget()->size(), QSize(20, 10));

    QImage screen(40, 20, QImage::Format_RGB32);
    screen.setDevicePixelRatio(2.0);
    screen.fill(Qt::red);
    image.widget()->render(&screen);
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(qGray(screen.pixel(x, 10)), x % 2 ? 255 : 0) << "device column " << x;
}

}  // namespace
