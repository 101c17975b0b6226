#include "rtf_test_util.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include "rtf/rtf.h"

namespace rtftest {

QString normalizedText(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (QChar c : text) {
        if (c == QChar::ObjectReplacementCharacter) continue;  // a picture, counted apart
        if (c.isSpace() || c == QChar(0x2006)) {
            space = true;
            continue;
        }
        if (space && !out.isEmpty()) out += u' ';
        space = false;
        out += c;
    }
    return out;
}

QString blockText(const QTextDocument& doc) {
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) blocks << b.text();
    return blocks.join(u'\n');
}

}  // namespace rtftest
