#include "rtf_encode.h"

#include <QStringEncoder>
#include <QStringList>

namespace bookgen {

namespace {

// Encodes text and proves it by decoding it back: converters differ in how they report a
// character they cannot hold (some substitute '?'), so the round trip is the reliable test.
QByteArray gbkBytes(QStringView text, bool* ok) {
    QStringEncoder encoder("GBK");
    QStringDecoder decoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    *ok = encoder.isValid() && !encoder.hasError() && QString(decoder.decode(bytes)) == text;
    return bytes;
}

QStringList sourceLines(const QString& source) {
    QString text = source;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

QByteArray encodeRtf(const QString& source, QString* error) {
    static constexpr char kHex[] = "0123456789abcdef";
    QByteArray out;
    int lineNo = 0;
    for (const QString& line : sourceLines(source)) {
        ++lineNo;
        if (line.startsWith(QLatin1Char('%'))) continue;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (c.unicode() < 0x80) {
                out.append(char(c.unicode()));
                continue;
            }
            // A lone surrogate fails the round trip, so characters beyond the BMP are refused.
            bool ok = false;
            const QByteArray bytes = gbkBytes(QStringView(&line.constData()[i], 1), &ok);
            if (!ok) {
                if (error)
                    *error = QStringLiteral("line %1: no GBK form for '%2'").arg(lineNo).arg(c);
                return {};
            }
            for (char b : bytes) {
                const auto u = static_cast<unsigned char>(b);
                out.append("\\'").append(kHex[u >> 4]).append(kHex[u & 0xf]);
            }
        }
        out.append("\r\n");
    }
    return out;
}

QByteArray encodeGbkText(const QString& text, QString* error) {
    QByteArray out;
    int lineNo = 0;
    for (const QString& line : sourceLines(text)) {
        ++lineNo;
        bool ok = false;
        out.append(gbkBytes(line, &ok)).append("\r\n");
        if (!ok) {
            if (error) *error = QStringLiteral("line %1 has characters outside GBK").arg(lineNo);
            return {};
        }
    }
    return out;
}

}  // namespace bookgen
