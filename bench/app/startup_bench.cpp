// Prints how long the program takes from its start to the first painted frame of the reader on
// the sample book, and on the same book with a catalog of 32767 Chinese names in GBK, beside the
// same for a bare Qt window (this benchmark started again with --bare): what any Qt program pays
// before it draws.
#include "../support/paint_watch.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr int kRounds = 7;
constexpr double kGoalMs = 400;

int bareWindow(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("澜舟画本编排阅读"));
    window.resize(640, 500);
    const PaintWatch watch(&window);
    window.show();
    watch.waitBeyond(0);
    std::printf("first paint %.1f ms\n", double(started.nsecsElapsed()) / 1e6);
    return 0;
}

struct Run {
    double wallMs;  // from starting the process to its report, as the parent sees it
    double ownMs;   // from main() to the first paint, as the program reports it
};

std::optional<Run> run(const QString& program, const QStringList& arguments, const QString& dir) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HUABEN_FIRST_PAINT_EXIT"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray out;
    while (!out.contains('\n') && process.waitForReadyRead(10000)) out += process.readAll();
    const double wall = double(timer.nsecsElapsed()) / 1e6;
    process.waitForFinished(10000);
    const QByteArray prefix = "first paint ";
    if (!out.startsWith(prefix)) return std::nullopt;
    return Run{wall, out.mid(prefix.size()).split(' ').first().toDouble()};
}

// The sample book's files in `dir`; with `largest`, its catalog is replaced by one of 32767
// pages with Chinese names in GBK that cycle through the book's pictures.
bool copySampleBook(const QString& dir, bool largest) {
    const QDir sample(QStringLiteral(HUABEN_SAMPLE_BOOK));
    for (const QString& name : sample.entryList(QDir::Files))
        if (!QFile::copy(sample.filePath(name), QDir(dir).filePath(name))) return false;
    if (!largest) return true;
    const QStringList pictures = sample.entryList({QStringLiteral("*.jpg")}, QDir::Files);
    if (pictures.isEmpty()) return false;
    QString text;
    for (int i = 0; i < 32767; ++i)
        text += pictures[i % pictures.size()] + QStringLiteral("-第%1页说明.rtf\r\n").arg(i + 1);
    QFile catalog(QDir(dir).filePath(QStringLiteral("DocItem.txt")));
    return catalog.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           catalog.write(QStringEncoder("GBK").encode(text)) > 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) return bareWindow(argc, argv);
    QCoreApplication app(argc, argv);

    // The program never writes into a book that has a catalog; copies keep it so regardless.
    QTemporaryDir sample, largest;
    if (!copySampleBook(sample.path(), false) || !copySampleBook(largest.path(), true)) {
        std::fprintf(stderr, "startup_bench: cannot copy the sample book\n");
        return 1;
    }

    std::vector<double> bareWall, bareOwn, wall, own, bigWall;
    for (int round = 0; round < kRounds; ++round) {
        const auto bare =
            run(QCoreApplication::applicationFilePath(), {QStringLiteral("--bare")}, sample.path());
        const auto reader = run(QStringLiteral(HUABEN_PROGRAM), {}, sample.path());
        const auto big = run(QStringLiteral(HUABEN_PROGRAM), {}, largest.path());
        if (!bare || !reader || !big) {
            std::fprintf(stderr, "startup_bench: a program did not report its first paint\n");
            return 1;
        }
        bareWall.push_back(bare->wallMs);
        bareOwn.push_back(bare->ownMs);
        wall.push_back(reader->wallMs);
        own.push_back(reader->ownMs);
        bigWall.push_back(big->wallMs);
    }
    const double w = median(wall), b = median(bareWall), g = median(bigWall);
    const auto verdict = [](double ms) { return ms < kGoalMs ? "met" : "NOT met"; };
    std::printf(
        "start-up to first paint (median of %d): bare Qt window %6.1f ms (main() to paint "
        "%5.1f)\n",
        kRounds, b, median(bareOwn));
    std::printf(
        "  reader, sample book                %6.1f ms (main() to paint %5.1f)  ratio %4.2f "
        " goal < %.0f ms: %s\n",
        w, median(own), w / b, kGoalMs, verdict(w));
    std::printf(
        "  reader, 32767-page GBK catalog     %6.1f ms                          ratio %4.2f "
        " goal < %.0f ms: %s\n",
        g, g / b, kGoalMs, verdict(g));
    return 0;
}
