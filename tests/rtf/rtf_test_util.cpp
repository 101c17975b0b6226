#include "rtf_test_util.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include "rtf/rtf.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

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

double similarity(const QString& a, const QString& b) {
    if (a.size() < 2 || b.size() < 2) return a == b ? 1.0 : 0.0;
    std::unordered_map<uint32_t, int> counts;
    auto key = [](const QString& s, qsizetype i) {
        return (uint32_t(s[i].unicode()) << 16) | s[i + 1].unicode();
    };
    for (qsizetype i = 0; i + 1 < a.size(); ++i) ++counts[key(a, i)];
    qsizetype common = 0;
    for (qsizetype i = 0; i + 1 < b.size(); ++i) {
        auto it = counts.find(key(b, i));
        if (it != counts.end() && it->second > 0) {
            --it->second;
            ++common;
        }
    }
    return 2.0 * double(common) / double(a.size() - 1 + b.size() - 1);
}

QString blockText(const QTextDocument& doc) {
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) blocks << b.text();
    return blocks.join(u'\n');
}

}  // namespace rtftest
