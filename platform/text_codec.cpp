#include "text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

QString decodeBookText(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) return text;
    QStringDecoder gb("GB18030");
    return gb.decode(view);
}

QByteArray encodeBookText(const QString& text) {
    QStringEncoder gb("GB18030");
    return gb.encode(text);
}

}  // namespace platform
