// Prints how long a catalog of the largest size takes from its file to the list painted, beside
// reading the file's bytes alone, for short ASCII names and for Chinese names in GBK; and how
// long the book editor's save of it takes after a reorder, beside writing the same bytes.
#include "../support/paint_watch.h"
#include "core/book.h"
#include "core/catalog_loader.h"
#include "platform/book_file.h"

#include <QApplication>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 32767;
constexpr int kRounds = 7;
constexpr double kGoalMs = 50;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msSince(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// One catalog line per page: the name of the picture and of its text.
QByteArray catalogBytes(bool chinese) {
    static const char* const kWords[] = {"春游", "西湖断桥残雪", "长城", "故宫博物院", "黄山云海"};
    QStringEncoder gbk("GBK");
    QByteArray bytes;
    for (int i = 1; i <= kRows; ++i) {
        const QString name =
            chinese ? QStringLiteral("%1第%2页").arg(QString::fromUtf8(kWords[i % 5])).arg(i)
                    : QStringLiteral("p%1").arg(i);
        const QString line = name + QStringLiteral(".jpg-") + name + QStringLiteral(".rtf\r\n");
        bytes += chinese ? QByteArray(gbk.encode(line)) : line.toLatin1();
    }
    return bytes;
}

void measure(const char* name, bool chinese) {
    QTemporaryDir dir;
    const QDir book(dir.path());
    QFile file(book.filePath(QStringLiteral("DocItem.txt")));
    if (!file.open(QIODevice::WriteOnly)) return;
    const QByteArray bytes = catalogBytes(chinese);
    file.write(bytes);
    file.close();

    std::vector<double> read, parse, fill;
    int rows = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const platform::BookFileRead raw =
            platform::readBookFile(book, QStringLiteral("DocItem.txt"), 1 << 30);
        read.push_back(msSince(timer));
        if (raw.bytes.size() != bytes.size()) return;
        timer.restart();
        const std::vector<core::CatalogRow> parsed = core::parseCatalog(raw.bytes);
        parse.push_back(msSince(timer));

        // The list as the reader has it, already on screen with its columns.
        QWidget window;
        window.resize(300, 600);
        platform::ListView list(&window);
        list.place(75, 225, 2265, 8000);
        core::setUpCatalogColumns(list);
        const PaintWatch watch(list.tree()->viewport());
        window.show();
        watch.waitBeyond(0);

        const int before = watch.paints();
        timer.restart();
        rows = core::LoadCatalog(list, book);
        watch.waitBeyond(before);
        fill.push_back(msSince(timer));
    }
    const double r = median(read), f = median(fill);
    std::printf(
        "%-26s %5d rows %4.2f MB  read bytes %5.2f ms  parse+fill+paint %6.2f ms "
        "(parse alone %5.2f, first round %6.2f)  ratio %5.1f  goal < %.0f ms: %s\n",
        name, rows, double(bytes.size()) / 1e6, r, f, median(parse), fill.front(), f / r, kGoalMs,
        f < kGoalMs ? "met" : "NOT met");
}

// A reorder of the largest book, then its save: the catalog formatted again and replaced
// atomically, as the editor's 保存 does; beside the same bytes written with one write.
void measureSave(const char* name, bool chinese) {
    QTemporaryDir dir;
    const QDir bookDir(dir.path());
    QFile file(bookDir.filePath(QStringLiteral("DocItem.txt")));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(catalogBytes(chinese));
    file.close();
    core::Book book(bookDir);
    if (!book.load() || book.count() != kRows) return;
    std::vector<double> save, write;
    for (int round = 0; round < kRounds; ++round) {
        book.move(1, 100, kRows - 50);  // a hundred pages from the front to near the end
        QElapsedTimer timer;
        timer.start();
        if (!book.save().isEmpty()) return;
        save.push_back(msSince(timer));
        const QByteArray bytes = core::formatCatalog(book.pages());
        timer.restart();
        QFile plain(bookDir.filePath(QStringLiteral("plain.txt")));
        if (!plain.open(QIODevice::WriteOnly) || plain.write(bytes) != bytes.size()) return;
        plain.close();
        write.push_back(msSince(timer));
    }
    const double s = median(save);
    std::printf(
        "%-26s %5d rows  save after reorder %6.2f ms  (plain write %5.2f ms, first round "
        "%6.2f)  goal < %.0f ms: %s\n",
        name, kRows, s, median(write), save.front(), kGoalMs, s < kGoalMs ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    measure("catalog, ASCII names", false);
    measure("catalog, Chinese GBK names", true);
    measureSave("save, ASCII names", false);
    measureSave("save, Chinese GBK names", true);
    return 0;
}
