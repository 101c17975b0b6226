// Prints how soon the book editor shows the thumbnails of a long book of 12-megapixel photos:
// the first screenful, and every page, beside libjpeg-turbo decoding the same files at the same
// DCT scale on the same number of threads in the same run. Twice: photos as cameras write them,
// with a small copy in their EXIF block, and photos without one.
#include "../support/photos.h"
#include "editor/book_editor.h"
#include "editor/page_thumbnails.h"
#include "platform/picture.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QSet>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <unistd.h>

namespace {

constexpr double kFirstScreenGoalMs = 300;
constexpr double kAllGoalRatio = 1.2;
const QSize kThumb(120, 120);

// The rows whose items the grid shows now.
std::vector<int> visibleRows(const QListView& grid) {
    std::vector<int> rows;
    const QRect shown = grid.viewport()->rect();
    for (int row = 0; row < grid.model()->rowCount(); ++row)
        if (grid.visualRect(grid.model()->index(row, 0)).intersects(shown)) rows.push_back(row);
    return rows;
}

// A book of `pages` pages, each its own name hard-linked to one of eight photos (EXIF
// orientations 1 to 8), with their camera copies when `copies`.
bool writeBook(const QDir& book, int pages, bool copies, QStringList& names) {
    for (int o = 1; o <= 8; ++o) {
        const QImage photo = bench::photo(4000, 3000, quint32(o));
        const QByteArray copy =
            copies
                ? bench::jpegOf(
                      photo.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 80)
                : QByteArray();
        const QByteArray bytes = bench::withOrientation(bench::jpegOf(photo, 90), o, copy);
        QFile f(book.filePath(QStringLiteral("photo%1.jpg").arg(o)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return false;
    }
    QFile catalog(book.filePath(QStringLiteral("DocItem.txt")));
    if (!catalog.open(QIODevice::WriteOnly)) return false;
    for (int i = 1; i <= pages; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        const QByteArray from =
            QFile::encodeName(book.filePath(QStringLiteral("photo%1.jpg").arg((i - 1) % 8 + 1)));
        if (::link(from.constData(), QFile::encodeName(book.filePath(name)).constData()) != 0)
            return false;
        catalog.write(name.toUtf8() + "-\r\n");
        names << name;
    }
    return true;
}

void measure(const char* label, int pages, bool copies) {
    QTemporaryDir dir;
    const QDir book(dir.path());
    QStringList names;
    if (!writeBook(book, pages, copies, names)) return;

    // The baseline: every page's file read and decoded by libjpeg-turbo at the scale the
    // thumbnails' photos are decoded at, on as many threads as the editor's workers.
    const QSize reduced = platform::reducedSize(QSize(4000, 3000), kThumb);
    const int ratio = std::min(4000 / reduced.width(), 3000 / reduced.height());
    const int denominator = ratio >= 8 ? 8 : ratio >= 4 ? 4 : ratio >= 2 ? 2 : 1;
    QElapsedTimer t;
    t.start();
    QtConcurrent::blockingMap(names, [&](const QString& name) {
        QFile f(book.filePath(name));
        if (f.open(QIODevice::ReadOnly)) bench::libjpegDecode(f.readAll(), denominator);
    });
    const double baseline = bench::ms(t);

    // The editor opened on the book: the pages in view fill in first, then every page is asked
    // for, as scrolling through the grid would.
    t.restart();
    editor::BookEditor window(book);
    window.resize(1000, 700);
    QSet<QString> ready;
    // Waits without spinning, so the GUI thread takes no core from the workers.
    QEventLoop waiting;
    std::function<bool()> done = [] { return true; };
    QObject::connect(&window.thumbnails(), &editor::PageThumbnails::ready,
                     [&](const QString& name) {
                         ready.insert(name);
                         if (done()) waiting.quit();
                     });
    window.show();
    QApplication::processEvents();
    const std::vector<int> firstRows = visibleRows(*window.pageGrid());
    done = [&] {
        for (int row : firstRows)
            if (!ready.contains(names[row])) return false;
        return true;
    };
    if (!done()) waiting.exec();
    const double first = bench::ms(t);
    done = [&] { return ready.size() == pages; };
    for (const QString& name : names) window.thumbnails().thumbnail(name);
    if (!done()) waiting.exec();
    const double all = bench::ms(t);
    int failed = 0;
    for (const QString& name : names) failed += window.thumbnails().failed(name) ? 1 : 0;

    std::printf("%s: %d pages, %d failed\n", label, pages, failed);
    std::printf("  first screenful (%zu pages) %8.1f ms  goal < %.0f ms: %s\n", firstRows.size(),
                first, kFirstScreenGoalMs, first < kFirstScreenGoalMs ? "met" : "NOT met");
    std::printf(
        "  all pages %19.1f ms  libjpeg-turbo at 1/%d alone %8.1f ms  ratio %4.2f  "
        "goal <= %.1f: %s\n",
        all, denominator, baseline, all / baseline, kAllGoalRatio,
        all <= kAllGoalRatio * baseline ? "met" : "NOT met");
}

}  // namespace

// The number of pages may be given (1000 unless it is).
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    std::printf(
        "thumbnails %d x %d, %d worker threads; photos 4000 x 3000, EXIF orientations 1 "
        "to 8\n",
        kThumb.width(), kThumb.height(), QThreadPool::globalInstance()->maxThreadCount());
    // The editor opens from the reader, whose window has drawn text already: fonts are loaded.
    QLabel reader(QStringLiteral("画本 阅读器"));
    reader.show();
    QApplication::processEvents();
    measure("camera photos, each with the small copy in its EXIF block", pages, true);
    measure("photos without a copy", pages, false);
    return 0;
}
