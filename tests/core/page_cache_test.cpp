#include "core/page_cache.h"
#include "book_fixture.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QImageReader>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

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
    BookFixture fx;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QByteArray bytes = orientedJpeg(400, 240, orientation);
        fx.file("photo.jpg", bytes);
        const QSize upright = orientation >= 5 ? QSize(240, 400) : QSize(400, 240);
        const platform::PictureLoad full = platform::decodePicture(bytes);
        const platform::PictureLoad small =
            core::loadPagePicture(fx.book(), "photo.jpg", QSize(100, 100));
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
    const platform::PictureLoad small =
        core::loadPagePicture(fx.book(), "photo.jpg", QSize(100, 100));
    fx.file("photo.jpg", orientedJpeg(300, 300, 1));
    EXPECT_EQ(small.picture.fullResolution().image().size(), small.picture.image().size());
    // A name leading out of the book is not read.
    EXPECT_FALSE(core::loadPagePicture(fx.book(), "../photo.jpg", QSize(100, 100)).ok());
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

// Stands for a slow medium: the first decode of the page named sticks until the test lets it
// go, or until ten seconds have passed, which then means somebody waited for it.
class StuckDecode {
  public:
    explicit StuckDecode(QString name) : name_(std::move(name)) {}
    platform::PictureLoad decode(const QDir& book, const QString& name, QSize pixels,
                                 const std::atomic<bool>* stop) {
        std::unique_lock lock(mutex_);
        if (name == name_ && !entered_) {
            entered_ = true;
            changed_.notify_all();
            waitedFor_ =
                !changed_.wait_for(lock, std::chrono::seconds(10), [this] { return free_; });
        }
        lock.unlock();
        return core::loadPagePicture(book, name, pixels, stop);
    }
    void waitUntilStuck() {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10), [this] { return entered_; });
    }
    // True once the decode was let go by the test; false when it had to give up waiting.
    bool release() {
        std::lock_guard lock(mutex_);
        free_ = true;
        changed_.notify_all();
        return !waitedFor_;
    }

  private:
    QString name_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false, free_ = false, waitedFor_ = false;
};

class PageCacheTest : public ::testing::Test {
  protected:
    BookFixture fx;
    const QSize pixels{64, 64};
    void SetUp() override {
        for (int i = 0; i < 12; ++i)
            fx.picture(page(i), 256, 256, QColor::fromHsv(i * 30, 255, 255));
    }
    void TearDown() override { QThreadPool::globalInstance()->waitForDone(); }
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
        EXPECT_GE(cache.heldCount(), budget >= 3 * onePage ? 2 : 0);
    }
}

// A new catalog read over a slow medium, the page under way taken, the reader closed: none of
// them waits for the decode stuck on its file, and a taken page is decoded at once.
TEST_F(PageCacheTest, NeverWaitsForADecodeStuckOnItsFile) {
    for (const char* what : {"clear", "take", "destroy"}) {
        SCOPED_TRACE(what);
        auto stuck = std::make_shared<StuckDecode>(page(3));
        {
            core::PageCache cache(
                core::PageCache::kDefaultBudget, core::PageCache::kDefaultPages,
                [stuck](const QDir& b, const QString& n, QSize p, const std::atomic<bool>* s) {
                    return stuck->decode(b, n, p, s);
                });
            cache.prefetch(fx.book(), {page(3)}, pixels);
            stuck->waitUntilStuck();
            if (what == std::string("clear")) cache.clear();
            if (what == std::string("take")) {
                EXPECT_EQ(cache.take(fx.book(), page(3), pixels).picture.image().size(), pixels);
            }
            EXPECT_EQ(cache.heldCount(), what == std::string("clear") ? 0 : 1);
        }
        EXPECT_TRUE(stuck->release());
    }
}

}  // namespace
