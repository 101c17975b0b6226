// How long the reading pane is busy with a hostile page text: a one-line .txt, a large ordinary
// RTF and an RTF of nothing but table cells. For each it prints the time to load the file, the
// time until the window handles its next event, the longest the event loop is then kept busy in
// the two seconds the pane has to lay out the rest, and what layout is left after them.
// Usage: text_pane_bench [scale [cases]]; a scale below 1 shrinks every input, and `cases` picks
// inputs by number, "13" the first and third (for code that takes minutes). With a third
// argument the inputs are also left in that folder, to try them in the reader.
#include "platform/rich_text_box.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

QByteArray oneLineText(qsizetype bytes) {
    QByteArray out;
    out.reserve(bytes);
    while (out.size() < bytes) out += "abcdefghijklmnopqrstuvwxyz0123456789";
    out.truncate(bytes);
    return out;
}

QByteArray hexEscaped(const QByteArray& bytes) {
    QByteArray out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            out += "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
    }
    return out;
}

// Chinese prose as WordPad writes it, with some bold words and a paragraph every few sentences.
QByteArray ordinaryRtf(qsizetype bytes) {
    QStringEncoder gbk("GBK");
    const QByteArray sentence = hexEscaped(gbk.encode(QString::fromUtf8(
        "春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。床前明月光，疑是地上霜。")));
    QByteArray out(
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}"
        "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs24 ");
    out.reserve(bytes + 1024);
    for (int n = 1; out.size() < bytes; ++n) {
        out += sentence;
        if (n % 3 == 0) out += "\\b abc\\b0 ";
        if (n % 5 == 0) out += "\\par\r\n";
    }
    return out + "\\par}";
}

QByteArray cellRtf(qsizetype bytes) {
    QByteArray out("{\\rtf1\\ansi ");
    out.reserve(bytes + 16);
    while (out.size() < bytes) out += "\\cell ";
    return out + "}";
}

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void measure(platform::RichTextBox& box, const QString& path, const char* name,
             const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return;
    file.close();

    QElapsedTimer total;
    total.start();
    const bool loaded = box.loadFile(path);
    const double load = msSince(total);
    // The window answers when a zero-time timer queued now gets its turn.
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    while (!fired) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double answer = msSince(total);
    // The pane lays the rest out in steps between events; the longest of them is how long the
    // window may not answer after the text appeared.
    double longestStep = 0;
    while (msSince(total) - answer < 2000) {
        QElapsedTimer step;
        step.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        longestStep = std::max(longestStep, msSince(step));
    }
    // Asking for the size finishes whatever layout is left.
    QElapsedTimer rest;
    rest.start();
    const QSizeF size = box.document()->documentLayout()->documentSize();
    std::printf(
        "%-14s %6.2f MB  %s  load %8.1f ms  answers %8.1f ms  longest step %7.1f ms  rest of "
        "layout %7.1f ms  (%lld characters, %d blocks, %.0f px high)\n",
        name, content.size() / 1048576.0, loaded ? "shown  " : "refused", load, answer, longestStep,
        msSince(rest), static_cast<long long>(box.document()->characterCount()),
        box.document()->blockCount(), size.height());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double scale = argc > 1 ? std::atof(argv[1]) : 1.0;
    const QByteArray cases = argc > 2 ? QByteArray(argv[2]) : QByteArray("1234");
    const auto size = [scale](double mb) { return qsizetype(mb * scale * 1048576); };

    // The reading pane at its size in a maximised reader window.
    QWidget window;
    window.resize(1024, 768);
    platform::RichTextBox box(&window);
    box.widget()->setGeometry(170, 420, 850, 340);
    window.show();
    QCoreApplication::processEvents();

    QTemporaryDir temp;
    const QDir dir(argc > 3 ? QString::fromLocal8Bit(argv[3]) : temp.path());
    const struct {
        const char* file;
        const char* name;
        std::function<QByteArray(qsizetype)> make;
        double mb;
    } inputs[] = {{"line.txt", "one-line txt", oneLineText, 1},
                  {"ordinary.rtf", "ordinary RTF", ordinaryRtf, 50},
                  {"cells.rtf", "\\cell RTF", cellRtf, 10},
                  {"line60.txt", "one-line txt", oneLineText, 60}};
    for (int i = 0; i < 4; ++i)
        if (cases.contains(char('1' + i)))
            measure(box, dir.filePath(QString::fromLatin1(inputs[i].file)), inputs[i].name,
                    inputs[i].make(size(inputs[i].mb)));
    return 0;
}
