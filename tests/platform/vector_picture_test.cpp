#include "platform/image_control.h"
#include "platform/picture.h"

#include <gtest/gtest.h>

#include "formats/metafile_builder.h"
#include "support/test_files.h"

#include <QTemporaryDir>
#include <QWidget>

using namespace testing_metafile;

namespace {

// A 2 x 1 inch picture: red left half, blue right half.
QByteArray halves(bool emf) {
    if (emf) {
        Emf e(100);
        e.rec(17, {8}).rec(9, {200, 100}).rec(11, {100, 100});
        e.rec(39, {1, 0, 0x0000FF, 0}).rec(37, {1}).rec(37, {int64_t(0x80000008)});
        e.rec(43, {0, 0, 100, 100}).rec(39, {2, 0, 0xFF0000, 0}).rec(37, {2});
        return e.rec(43, {100, 0, 200, 100}).bytes();
    }
    Wmf w(200, 100, 100);
    w.rec(0x02FA, {5, 0, 0, 0, 0}).rec(0x012D, {0});
    w.rec(0x02FC, {0, 0x00FF, 0, 0}).rec(0x012D, {1}).rec(0x041B, {100, 100, 0, 0});
    return w.rec(0x02FC, {0, 0, 0x00FF, 0})
        .rec(0x012D, {2})
        .rec(0x041B, {100, 200, 0, 100})
        .bytes();
}

QImage paintInto(const platform::Picture& picture, QSize size, QRectF target, QRectF exposed = {}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    picture.paint(p, target, exposed);
    return image;
}

}  // namespace

TEST(VectorPicture, MetafilesLoadByContentAndDrawAtTheSizeShown) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        bool emf;
        QSizeF twips;
    } cases[] = {{"a.wmf", false, {2880, 1440}},
                 {"b.emf", true, {100 * 1440 / 25.4, 100 * 1440 / 25.4}},
                 {"named-wrongly.jpg", false, {2880, 1440}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(testfiles::write(path, halves(c.emf)));
        const platform::PictureLoad load = platform::loadPicture(path);
        ASSERT_TRUE(load.ok()) << load.error.toStdString();
        EXPECT_TRUE(load.picture.isVector());
        EXPECT_NEAR(load.picture.naturalSize().width(), c.twips.width(), 1);
        EXPECT_NEAR(load.picture.naturalSize().height(), c.twips.height(), 1);

        // Fitted small and zoomed large, the halves meet in the middle of the target.
        for (int width : {40, 400}) {
            const QRectF target(10, 10, width, width / 2.0);
            const QImage shown = paintInto(load.picture, {width + 20, width + 20}, target);
            EXPECT_EQ(shown.pixelColor(10 + width / 4, 10 + width / 4), QColor(Qt::red));
            EXPECT_EQ(shown.pixelColor(10 + width * 3 / 4, 10 + width / 4), QColor(Qt::blue));
            EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::white));
            EXPECT_EQ(paintInto(load.picture, shown.size(), target), shown);  // kept rendering
        }
    }
}

TEST(VectorPicture, DeepZoomDrawsTheExposedPartSharp) {
    const platform::Picture picture = platform::decodePicture(halves(true)).picture;
    ASSERT_TRUE(picture.isVector());
    // 20000 x 10000 pixels would not be kept whole; the part on screen is drawn alone.
    const QRectF target(-9950, -100, 20000, 10000);
    const QImage shown = paintInto(picture, {100, 100}, target, QRectF(0, 0, 100, 100));
    EXPECT_EQ(shown.pixelColor(20, 50), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(80, 50), QColor(Qt::blue));
}

// Not stretched, the control takes the picture's recorded size and refuses another; stretched, it
// draws the picture over whatever size it is given, and unstretched again it shrinks back.
TEST(VectorPicture, ImageControlTakesTheRecordedSizeUnlessStretched) {
    QWidget parent;
    platform::ImageControl image(&parent);
    image.setPicture(platform::decodePicture(halves(false)).picture);
    EXPECT_FLOAT_EQ(image.width(), 2880);
    EXPECT_FLOAT_EQ(image.height(), 1440);
    EXPECT_FALSE(image.setWidth(6000));
    image.setStretch(true);
    image.place(0, 0, 6000, 3000);
    const QImage grabbed = image.widget()->grab().toImage();
    ASSERT_EQ(grabbed.size(), QSize(400, 200));
    EXPECT_EQ(grabbed.pixelColor(100, 100), QColor(Qt::red));
    EXPECT_EQ(grabbed.pixelColor(300, 100), QColor(Qt::blue));
    image.setStretch(false);
    EXPECT_EQ(image.widget()->size(), QSize(192, 96));
}
