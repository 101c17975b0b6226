#include "core/page_pipeline.h"
#include "page_parts.h"
#include "platform/twips.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Row 1 is a large picture that decodes slowly; rows 2 to 13 are small flat colours, each with
// its own text.
class PagePipelineTest : public ::testing::Test, protected PageParts {
  protected:
    core::PageCache cache;
    std::unique_ptr<core::PagePipeline> pipeline;
    int16_t latest = 0;          // the row last asked for
    std::vector<int16_t> shown;  // the rows put on screen, in order

    static QString page(int row) { return QStringLiteral("p%1.png").arg(row); }
    static QRgb colour(int row) { return QColor::fromHsv(row * 25, 255, 255).rgb(); }

    void SetUp() override {
        box.place(0, 0, 64 * platform::twipsPerPixel(), 64 * platform::twipsPerPixel());
        fx.picture("slow.png", 3000, 3000, Qt::black);
        QByteArray lines = "slow.png-slow.txt\r\n";
        fx.file("slow.txt", "text of 1");
        for (int row = 2; row <= 13; ++row) {
            fx.picture(page(row), 256, 256, QColor::fromRgb(colour(row)));
            fx.file(QStringLiteral("p%1.txt").arg(row), "text of " + QByteArray::number(row));
            lines += page(row).toUtf8() + "-p" + QByteArray::number(row) + ".txt\r\n";
        }
        loadCatalog(lines);
        pipeline = std::make_unique<core::PagePipeline>(
            core::PageView{list, viewport, text, status, fx.book(), &cache});
        // Whenever a page goes on screen it is the one last asked for, whole: picture, text and
        // status of the same row, shown.
        QObject::connect(pipeline.get(), &core::PagePipeline::pageApplied, [this](int16_t row) {
            shown.push_back(row);
            EXPECT_EQ(row, latest);
            EXPECT_EQ(status.panelText(3), QString::number(row));
            EXPECT_EQ(image.name(), row == 1 ? QStringLiteral("slow.png") : page(row));
            EXPECT_EQ(text.plainText().trimmed(), QStringLiteral("text of %1").arg(row));
            EXPECT_TRUE(image.visible());
        });
    }
    void ask(int16_t row) {
        latest = row;
        pipeline->ShowPage(row);
    }
    // Every decode done and every queued completion delivered.
    void settle() {
        cache.waitForIdle();
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        pipeline->waitForPage();
    }
};

// Requests in a row, some of them decoded ahead first: the page left on screen is the last one
// asked for, and no earlier page is put on screen after a later one was asked for.
TEST_F(PagePipelineTest, LatestRequestWins) {
    struct Sequence {
        const char* what;
        std::vector<int16_t> rows, ahead;  // asked for; decoded before the requests
    };
    for (const Sequence& s : {Sequence{"slow, then a page decoded ahead", {1, 3}, {3}},
                              Sequence{"slow, then a page not decoded", {1, 4}, {}},
                              Sequence{"a page, then the slow one", {3, 1}, {}},
                              Sequence{"slow twice, then back", {1, 5, 1, 6}, {6}},
                              Sequence{"the same page again", {7, 7}, {}}}) {
        SCOPED_TRACE(s.what);
        shown.clear();
        QStringList names;
        for (int16_t row : s.ahead) names.append(core::pageImageFile(list, row));
        cache.prefetch(fx.book(), names, viewport.devicePixels());
        cache.waitForIdle();
        for (int16_t row : s.rows) ask(row);
        settle();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back(), s.rows.back());
        EXPECT_EQ(image.picture().image().pixel(10, 10),
                  s.rows.back() == 1 ? QColor(Qt::black).rgb() : colour(s.rows.back()));
        EXPECT_FALSE(pipeline->waiting());
        cache.clear();
    }
}

// Holding the next key: every press asks for the next page and decodes the one after ahead, with
// no time for decodes in between. The turns end on the last page asked for.
TEST_F(PagePipelineTest, HoldingNextEndsOnTheLastPage) {
    for (int16_t row = 1; row <= 13; ++row) {
        ask(row);
        if (row < 13)
            cache.prefetch(fx.book(), {core::pageImageFile(list, row), page(row + 1)},
                           viewport.devicePixels());
        // A page asked for and not decoded yet leaves the previous one whole on screen.
        if (pipeline->waiting() && !shown.empty()) {
            EXPECT_EQ(status.panelText(3), QString::number(shown.back()));
            EXPECT_TRUE(image.visible());
        }
    }
    settle();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), 13);
}

// A new catalog or the help shown over a page: the page still decoding is not put on screen.
TEST_F(PagePipelineTest, CancelledPageIsNeverShown) {
    ask(1);
    ASSERT_TRUE(pipeline->waiting());
    pipeline->cancel();
    settle();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(status.panelText(3).isEmpty());
}

// Shown larger than decoded, the picture is decoded again on a worker and swapped in sharp; the
// scaled picture stays meanwhile, and a result for a picture no longer shown is dropped.
TEST_F(PagePipelineTest, ZoomSharpensInTheBackground) {
    latest = 1;
    core::PageView direct{list, viewport, text, status, fx.book()};
    core::ShowPage(direct, 1);  // decoded for the viewport, on this thread
    const auto zoom = [this] {
        const QSize before = image.picture().image().size();
        EXPECT_TRUE(image.picture().isReduced());
        image.setWidth(image.width() * 4);
        image.setHeight(image.height() * 4);
        viewport.PlaceImage();
        EXPECT_TRUE(viewport.sharpening());
        EXPECT_EQ(image.picture().image().size(), before);  // the scaled one meanwhile
        return before;
    };
    const QSize before = zoom();
    viewport.waitForSharpen();
    EXPECT_EQ(image.name(), QStringLiteral("slow.png"));
    EXPECT_GE(image.picture().image().width(), before.width() * 4 - 1);
    // Zoomed again, and another page shown before the sharper picture is done.
    zoom();
    latest = 2;
    pipeline->ShowPage(2);
    pipeline->waitForPage();
    viewport.waitForSharpen();
    EXPECT_EQ(image.name(), page(2));
    EXPECT_EQ(image.picture().image().pixel(10, 10), colour(2));
}

}  // namespace
