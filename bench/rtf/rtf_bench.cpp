// Import speed of generated documents: a WordPad-style GBK book page, Unicode-escaped text,
// heavily formatted Latin text and deep group nesting. Prints MB/s; input size doubles to show
// that time grows linearly.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStringEncoder>
#include <QTextDocument>

#include <cstdio>
#include <functional>

#include "rtf/rtf.h"

namespace {

const char* const kHeader =
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{"
    "\\f0\\fnil\\fcharset134 "
    "\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fswiss\\fcharset0 Arial;}}\r\n{\\colortbl "
    ";\\red255\\green0\\blue0;}"
    "\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs24 ";

QByteArray hexEscaped(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() * 4);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += "\\'";
            out += QByteArray::number(b, 16).rightJustified(2, '0');
        }
    }
    return out;
}

// Chinese prose as WordPad writes it: every character two \'hh escapes, some bold and coloured
// words, a paragraph every few lines.
QByteArray gbkDocument(qsizetype targetBytes) {
    QStringEncoder gbk("GBK");
    const QByteArray sentence = hexEscaped(gbk.encode(QString::fromUtf8(
        "春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。床前明月光，疑是地上霜。")));
    const QByteArray bold = hexEscaped(gbk.encode(QString::fromUtf8("举头望明月")));
    QByteArray out(kHeader);
    int n = 0;
    while (out.size() < targetBytes) {
        out += sentence;
        if (++n % 3 == 0) out += "\\b " + bold + "\\b0 \\cf1 abc\\cf0 ";
        if (n % 5 == 0) out += "\\par\r\n";
    }
    return out + "\\par\r\n}\r\n";
}

QByteArray unicodeDocument(qsizetype targetBytes) {
    QByteArray out(kHeader);
    int n = 0;
    while (out.size() < targetBytes) {
        out += "\\u20320?\\u22909?\\u19990?\\u30028?\\u-10179?\\u-9047? ";
        if (++n % 20 == 0) out += "\\par\r\n";
    }
    return out + "}";
}

QByteArray formattedLatinDocument(qsizetype targetBytes) {
    QByteArray out(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}{\\f1 Arial;}}{\\colortbl;\\red0\\green0\\blue255;}");
    int n = 0;
    while (out.size() < targetBytes) {
        out += "Plain {\\b bold {\\i both}} {\\f1\\fs18 small \\cf1 blue} caf\\'e9\\tab ";
        if (++n % 10 == 0) out += "\\par\r\n";
    }
    return out + "}";
}

QByteArray nestedDocument(qsizetype targetBytes) {
    const qsizetype depth = targetBytes / 4;
    return "{\\rtf1 " + QByteArray(depth, '{') + "\\b x" + QByteArray(depth, '}') + "}";
}

void measure(const char* name, const std::function<QByteArray(qsizetype)>& make) {
    for (qsizetype size : {qsizetype(2) << 20, qsizetype(5) << 20, qsizetype(10) << 20}) {
        const QByteArray rtf = make(size);
        QTextDocument doc;
        QElapsedTimer timer;
        timer.start();
        rtf::importRtf(rtf, doc);
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("%-22s %6.2f MB in %7.3f s  %7.2f MB/s  (%lld characters)\n", name,
                    rtf.size() / 1048576.0, seconds, rtf.size() / 1048576.0 / seconds,
                    static_cast<long long>(doc.characterCount()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    measure("GBK WordPad", gbkDocument);
    measure("\\u escapes", unicodeDocument);
    measure("formatted Latin", formattedLatinDocument);
    measure("deep nesting", nestedDocument);
    return 0;
}
