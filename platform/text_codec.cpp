#include "text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {
namespace {

QString gb18030(QByteArrayView bytes) {
    QStringDecoder gb("GB18030");
    return gb.decode(bytes);
}

// Valid multi-byte sequences must outnumber bad bytes by this much for unmarked text to count
// as UTF-8 with damage. GBK text read as UTF-8 yields a bad byte for nearly every character and
// a valid sequence by chance for about one in ten, so it stays far below.
constexpr qsizetype kUtf8Evidence = 4;

}  // namespace

QString decodeBookText(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    // Checked before decoding, so a GBK catalog is decoded once, not first as broken UTF-8.
    if (view.isValidUtf8()) return QString::fromUtf8(view);
    return gb18030(view);
}

QString decodePageText(const QByteArray& bytes) {
    return readPageText(bytes).text;
}

PageText readPageText(const QByteArray& bytes) {
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);  // skips the mark
        return {decoder.decode(bytes), QStringConverter::nameForEncoding(*marked), true};
    }
    const QString utf8Name = QStringLiteral("UTF-8");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return {text, utf8Name, false};
    qsizetype bad = 0, good = 0;
    for (const QChar c : std::as_const(text)) {
        if (c == QChar::ReplacementCharacter)
            ++bad;
        else if (c.unicode() >= 0x80 && !c.isLowSurrogate())
            ++good;
    }
    if (good >= bad * kUtf8Evidence) return {text, utf8Name, false};
    return {gb18030(bytes), QStringLiteral("GB18030"), false};
}

QByteArray encodePageText(const QString& text, const PageText& as) {
    const auto encoding = QStringConverter::encodingForName(as.encoding.toLatin1().constData());
    if (!encoding) {
        QStringEncoder gb("GB18030");
        return gb.encode(text);
    }
    QStringEncoder encoder(*encoding, as.byteOrderMark ? QStringConverter::Flag::WriteBom
                                                       : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

}  // namespace platform
