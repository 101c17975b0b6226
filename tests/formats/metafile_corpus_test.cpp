#include "corpus_measure.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

// Medians per writer and format that the renderer reaches today. They may only go up.
struct Floor {
    const char* group;
    double bboxIou, inkF1NoText, ssim, textFound;
    double textPlaced;  // -1: the files play their embedded EMF, not the text the manifest lists
};
constexpr Floor kFloors[] = {{"lo.wmf", 0.99, 0.99, 0.99, 1.0, -1},
                             {"lo.emf", 0.99, 0.99, 0.99, 1.0, 1.0},
                             {"ink.wmf", 0.99, 0.99, 0.97, 1.0, 1.0},
                             {"ink.emf", 0.99, 0.99, 0.97, 1.0, 1.0}};
// Every single file, so that one broken drawing cannot hide behind the medians.
constexpr double kWorstBboxIou = 0.95, kWorstInkF1 = 0.98, kWorstSsim = 0.75,
                 kWorstTextPlaced = 0.75;

}  // namespace

TEST(MetafileCorpusTest, RenderingsAgreeWithTheReferences) {
    const QString folder = QStringLiteral(HUABEN_CORPUS_DIR) + QStringLiteral("/metafile");
    if (!QDir(folder).exists("manifest.json"))
        GTEST_SKIP() << "no metafile corpus at " << folder.toStdString();
    const QList<measure::FileResult> results = measure::measureCorpus(folder);
    ASSERT_EQ(results.size(), 156);
    for (const measure::FileResult& r : results) {
        SCOPED_TRACE(r.file.toStdString());
        EXPECT_TRUE(r.rendered);
        EXPECT_GE(r.agreement.bboxIou, kWorstBboxIou);
        EXPECT_GE(r.agreement.inkF1, kWorstInkF1);
        EXPECT_GE(r.agreement.ssim, kWorstSsim);
        EXPECT_GE(r.textPlaced < 0 ? 1.0 : r.textPlaced, kWorstTextPlaced);  // < 0: not measured
    }
    const auto summary = measure::summarize(results);
    for (const Floor& f : kFloors) {
        SCOPED_TRACE(f.group);
        const measure::GroupSummary s = summary.value(QString::fromLatin1(f.group));
        EXPECT_EQ(s.files, 39);
        EXPECT_GE(s.bboxIou, f.bboxIou);
        EXPECT_GE(s.inkF1NoText, f.inkF1NoText);
        EXPECT_GE(s.ssim, f.ssim);
        EXPECT_GE(s.textFound, f.textFound);
        EXPECT_GE(s.textPlaced, f.textPlaced);
    }
}
