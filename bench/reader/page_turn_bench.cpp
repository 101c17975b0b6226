// Prints how long turning a page of the sample book takes (picture decoded, fitted and placed,
// text imported) and how long a catalog of the largest size takes to load.
#include "../support/page_stage.h"
#include "core/catalog_loader.h"
#include "core/page_display.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    PageStage stage;
    QWidget& window = stage.window;
    platform::ListView& list = stage.list;
    platform::PictureBox& box = stage.box;
    platform::RichTextBox& text = stage.text;
    platform::StatusBar& status = stage.status;
    core::ImageViewport& viewport = stage.viewport;
    box.place(2500, 50, 6315, 3971.6f);
    list.setWidth(2265);
    core::setUpCatalogColumns(list);

    const QDir book(QStringLiteral(HUABEN_SAMPLE_BOOK));
    const int pages = core::LoadCatalog(list, book);
    core::PageView view{list, viewport, text, status, book};
    for (int row = 1; row <= pages; ++row) {
        constexpr int kRounds = 10;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kRounds; ++i) core::ShowPage(view, int16_t(row));
        std::printf("page %d %-14s %7.2f ms per turn\n", row,
                    qPrintable(core::pageImageFile(list, row)),
                    double(timer.nsecsElapsed()) / 1e6 / kRounds);
    }

    QTemporaryDir dir;
    QFile catalog(dir.filePath(QStringLiteral("DocItem.txt")));
    if (!catalog.open(QIODevice::WriteOnly)) return 1;
    for (int i = 0; i < 32767; ++i)
        catalog.write("page" + QByteArray::number(i) + ".jpg-page" + QByteArray::number(i) +
                      ".rtf\r\n");
    catalog.close();
    platform::ListView big(&window);
    big.setWidth(2265);
    core::setUpCatalogColumns(big);
    QElapsedTimer timer;
    timer.start();
    const int rows = core::LoadCatalog(big, QDir(dir.path()));
    std::printf("catalog of %d rows loaded in %.1f ms\n", rows, double(timer.nsecsElapsed()) / 1e6);
    return 0;
}
