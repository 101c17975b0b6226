#include "core/page_cache.h"
#include "book_fixture.h"
#include "core/catalog_loader.h"
#include "core/page_display.h"
#include "platform/twips.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <gtest/gtest.h>

namespace {

// A JPEG of `w` x `h` stored pixels whose corners differ, with an EXIF orientation tag (1 to 8).
QByteArray orientedJpeg(int w, int h, int orientation) {
    const QByteArray jpeg = testfiles::jpeg(testfiles::corners(w, h));
    QByteArray exif("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += char(0);
    exif += char(orientation);
    exif += QByteArray(6, '\0');
    QByteArray segment("\xFF\xE1", 2);
    segment += char(0);
    segment += char(exif.size() + 2);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);
}

// Every EXIF orientation: the natural size is the upright one from the header, the pixels are
// decoded just large enough for the viewport, and both decodes look like Qt's own reader's.
TEST(ReducedDecode, KeepsNaturalSizeAndLooksLikeTheFullPicture) {
    BookFixture fx;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QByteArray bytes = orientedJpeg(400, 240, orientation);
        fx.file("photo.jpg", bytes);
        const bool turned = orientation >= 5;
        const QSize upright = turned ? QSize(240, 400) : QSize(400, 240);
        const platform::PictureLoad full = platform::decodePicture(bytes);
        const platform::PictureLoad small =
            platform::loadPicture(fx.book().filePath("photo.jpg"), QSize(100, 100));
        ASSERT_TRUE(full.ok() && small.ok());
        EXPECT_EQ(small.picture.naturalSize(), full.picture.naturalSize());
        EXPECT_EQ(full.picture.image().size(), upright);
        EXPECT_EQ(small.picture.image().size(), platform::reducedSize(upright, QSize(100, 100)));
        EXPECT_TRUE(small.picture.isReduced());
        QBuffer file;
        file.setData(bytes);
        QImageReader qtReader(&file, "jpeg");
        qtReader.setAutoTransform(true);
        const QImage reference = qtReader.read();
        for (const QImage& decoded : {full.picture.image(), small.picture.image()}) {
            const QImage expected =
                reference.scaled(decoded.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            for (QPointF at : {QPointF(0.15, 0.15), QPointF(0.85, 0.15), QPointF(0.15, 0.85),
                               QPointF(0.85, 0.85)}) {
                const QPoint p(int(at.x() * expected.width()), int(at.y() * expected.height()));
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
    const platform::PictureLoad small =
        platform::loadPicture(fx.book().filePath("photo.jpg"), QSize(100, 100));
    fx.file("photo.jpg", orientedJpeg(300, 300, 1));
    EXPECT_EQ(small.picture.fullResolution().image().size(), small.picture.image().size());
}

TEST(ReducedDecode, SizeTable) {
    struct Case {
        QSize natural, fit, expected;
    };
    const Case cases[] = {
        {{4000, 3000}, {1200, 800}, {1067, 800}},  // height fitted
        {{4000, 2000}, {1200, 800}, {1200, 600}},  // width fitted
        {{800, 800}, {1200, 800}, {800, 800}},     // never enlarged
        {{100, 100}, {0, 0}, {100, 100}},          // no viewport: natural
        {{30000, 1}, {10, 10}, {10, 1}},           // never below a pixel
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::reducedSize(c.natural, c.fit), c.expected) << c.natural.width();
}

class PageCacheTest : public ::testing::Test {
  protected:
    BookFixture fx;
    const QSize pixels{64, 64};
    void SetUp() override {
        for (int i = 0; i < 12; ++i)
            fx.picture(QStringLiteral("p%1.png").arg(i), 256, 256,
                       QColor::fromHsv(i * 30, 255, 255));
    }
    static QString page(int i) { return QStringLiteral("p%1.png").arg(i); }
};

// A page decoded ahead on a worker and one decoded on demand are the same pixels.
TEST_F(PageCacheTest, DecodedAheadLooksLikeDecodedOnDemand) {
    core::PageCache cache;
    cache.prefetch(fx.book(), {page(3)}, pixels);
    cache.waitForIdle();
    ASSERT_TRUE(cache.isReady(fx.book(), page(3), pixels));
    const platform::PictureLoad ahead = cache.take(fx.book(), page(3), pixels);
    const platform::PictureLoad now = core::loadPagePicture(fx.book(), page(3), pixels);
    ASSERT_TRUE(ahead.ok() && now.ok());
    EXPECT_EQ(ahead.picture.image(), now.picture.image());
    EXPECT_EQ(ahead.picture.image().size(), pixels);
}

// Turning through the book while decoding ahead never holds more than the budget.
TEST_F(PageCacheTest, NeverHoldsMoreThanItsBudget) {
    const qint64 onePage = 64 * 64 * 4 + 2000;
    for (qint64 budget : {qint64(0), onePage, 3 * onePage, 100 * onePage}) {
        SCOPED_TRACE(budget);
        core::PageCache cache(budget);
        for (int i = 0; i < 12; ++i) {
            // Pages asked for now and pages decoded ahead count alike.
            if (i % 2)
                EXPECT_TRUE(cache.request(fx.book(), page(i), pixels).result().ok());
            else
                EXPECT_TRUE(cache.take(fx.book(), page(i), pixels).ok());
            cache.prefetch(fx.book(), {page(i), page((i + 1) % 12), page((i + 11) % 12)}, pixels);
            EXPECT_LE(cache.heldBytes(), budget);
            cache.waitForIdle();
            EXPECT_LE(cache.heldBytes(), budget);
        }
        if (budget >= 3 * onePage) {
            EXPECT_GE(cache.heldCount(), 2);
        }
    }
}

}  // namespace
