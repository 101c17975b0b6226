#include "core/page_cache.h"
#include "book_fixture.h"
#include "stuck_decode.h"

#include <QThreadPool>

#include <gtest/gtest.h>

namespace {

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
