// Prints how long turning a page of the sample book takes (picture decoded, fitted and placed,
// text imported). The catalog's figures are catalog_bench's.
#include "../support/page_stage.h"
#include "core/catalog_loader.h"
#include "core/page_display.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    PageStage stage;
    stage.box.place(2500, 50, 6315, 3971.6f);
    stage.list.setWidth(2265);
    core::setUpCatalogColumns(stage.list);

    const QDir book(QStringLiteral(HUABEN_SAMPLE_BOOK));
    const int pages = core::LoadCatalog(stage.list, book);
    core::PageView view{stage.list, stage.viewport, stage.text, stage.status, book};
    for (int row = 1; row <= pages; ++row) {
        constexpr int kRounds = 10;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kRounds; ++i) core::ShowPage(view, int16_t(row));
        std::printf("page %d %-14s %7.2f ms per turn\n", row,
                    qPrintable(core::pageImageFile(stage.list, row)),
                    double(timer.nsecsElapsed()) / 1e6 / kRounds);
    }
    return 0;
}
