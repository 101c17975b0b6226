// Prints how long start-up's catalog load takes, and the peak memory, for the worst catalogs a
// hostile book can hold: a sparse 2 GB file, one line just under the size cap, and the most rows
// of the longest names that fit under it.
#include "core/catalog_loader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

#include <sys/resource.h>

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void measure(const char* name, const std::function<void(QFile&)>& write) {
    QTemporaryDir dir;
    QFile catalog(dir.filePath(QStringLiteral("DocItem.txt")));
    if (!catalog.open(QIODevice::WriteOnly)) return;
    write(catalog);
    catalog.close();

    QWidget window;
    platform::ListView list(&window);
    list.setWidth(2265);
    core::setUpCatalogColumns(list);
    QElapsedTimer timer;
    timer.start();
    QString problem;
    const int rows = core::LoadCatalog(list, QDir(dir.path()), &problem);
    std::printf("%-34s %6d rows %8.1f ms  peak %6ld MB  %s\n", name, rows,
                double(timer.nsecsElapsed()) / 1e6, peakKilobytes() / 1024, qPrintable(problem));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    measure("sparse 2 GB", [](QFile& f) { f.resize(qint64(2) << 30); });
    measure("one line of NULs, 31 MB", [](QFile& f) { f.write(QByteArray(31 << 20, '\0')); });
    measure("32767 lines of 1000 bytes", [](QFile& f) {
        const QByteArray line = QByteArray(996, 'x') + "-a\r\n";
        for (int i = 0; i < 32767; ++i) f.write(line);
    });
    measure("4096 lines of 8 KB (cut to 4 KB)", [](QFile& f) {
        const QByteArray line = QByteArray(8190, 'y') + "\r\n";
        for (int i = 0; i < 4096; ++i) f.write(line);
    });
    return 0;
}
