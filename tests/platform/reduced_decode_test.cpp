#include "platform/picture.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A JPEG of `w` x `h` stored pixels whose corners differ, with an EXIF orientation tag (1 to 8).
QByteArray orientedJpeg(int w, int h, int orientation) {
    const QByteArray jpeg = testfiles::jpeg(testfiles::corners(w, h));
    QByteArray exif("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += char(0) + QByteArray(1, char(orientation)) + QByteArray(6, '\0');
    return jpeg.left(2) + QByteArray("\xFF\xE1\0", 3) + char(exif.size() + 2) + exif + jpeg.mid(2);
}

// Every EXIF orientation: the natural size is the upright one from the header, the pixels are
// decoded just large enough for the viewport, and both decodes look like Qt's own reader's.
TEST(ReducedDecode, KeepsNaturalSizeAndLooksLikeTheFullPicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QByteArray bytes = orientedJpeg(400, 240, orientation);
        testfiles::write(path, bytes);
        const QSize upright = orientation >= 5 ? QSize(240, 400) : QSize(400, 240);
        const platform::PictureLoad full = platform::decodePicture(bytes);
        const platform::PictureLoad small = platform::loadPicture(path, QSize(100, 100));
        ASSERT_TRUE(full.ok() && small.ok());
        EXPECT_EQ(small.picture.naturalSize(), full.picture.naturalSize());
        EXPECT_EQ(full.picture.image().size(), upright);
        EXPECT_EQ(small.picture.image().size(), platform::reducedSize(upright, QSize(100, 100)));
        QBuffer file;
        file.setData(bytes);
        QImageReader qtReader(&file, "jpeg");
        qtReader.setAutoTransform(true);
        const QImage reference = qtReader.read();
        for (const QImage& decoded : {full.picture.image(), small.picture.image()}) {
            const QImage expected =
                reference.scaled(decoded.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            for (QPoint p : {QPoint(15, 15), QPoint(85, 15), QPoint(15, 85), QPoint(85, 85)}) {
                p = QPoint(p.x() * expected.width() / 100, p.y() * expected.height() / 100);
                const QColor a = expected.pixelColor(p), b = decoded.pixelColor(p);
                EXPECT_NEAR(a.red(), b.red(), 40) << p.x() << "," << p.y();
                EXPECT_NEAR(a.green(), b.green(), 40) << p.x() << "," << p.y();
                EXPECT_NEAR(a.blue(), b.blue(), 40) << p.x() << "," << p.y();
            }
        }
        // Printing and deep zoom get every pixel back, read again from the file: the picture
        // holds no more than its decoded pixels.
        EXPECT_EQ(small.picture.memoryBytes(), small.picture.image().sizeInBytes());
        EXPECT_EQ(small.picture.fullResolution().image().size(), upright);
        EXPECT_EQ(small.picture.withPixels(QSize(200, 200)).image().size(),
                  platform::reducedSize(upright, QSize(200, 200)));
        // Decoded from bytes alone there is no file to read again.
        EXPECT_FALSE(platform::decodePicture(bytes, QSize(100, 100)).picture.isReduced());
    }
    // A file replaced by another picture since is not mixed in: the reduced pixels stay.
    const platform::PictureLoad small = platform::loadPicture(path, QSize(100, 100));
    testfiles::write(path, orientedJpeg(300, 300, 1));
    EXPECT_EQ(small.picture.fullResolution().image().size(), small.picture.image().size());
}

TEST(ReducedDecode, SizeTable) {
    struct Case {
        QSize natural, fit, expected;
    };
    for (const Case& c : {Case{{4000, 3000}, {1200, 800}, {1067, 800}},  // height fitted
                          Case{{4000, 2000}, {1200, 800}, {1200, 600}},  // width fitted
                          Case{{800, 800}, {1200, 800}, {800, 800}},     // never enlarged
                          Case{{100, 100}, {0, 0}, {100, 100}},          // no viewport: natural
                          Case{{30000, 1}, {10, 10}, {10, 1}}})          // never below a pixel
        EXPECT_EQ(platform::reducedSize(c.natural, c.fit), c.expected) << c.natural.width();
}

}  // namespace
