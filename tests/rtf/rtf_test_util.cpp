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

QString labelledText(const QTextDocument& doc) {
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin()) out += u'\n';
        if (b.textList()) out += rtf::listItemLabel(b) + u'\t';
        for (const QChar c : b.text())
            out += (c == QChar(0xFDD0) || c == QChar(0xFDD1)) ? QChar(u'\n') : c;  // frame marks
    }
    return out;
}

qsizetype editDistance(QStringView a, QStringView b) {
    while (!a.isEmpty() && !b.isEmpty() && a.front() == b.front()) {
        a = a.sliced(1);
        b = b.sliced(1);
    }
    while (!a.isEmpty() && !b.isEmpty() && a.back() == b.back()) {
        a.chop(1);
        b.chop(1);
    }
    if (a.size() < b.size()) std::swap(a, b);
    if (b.isEmpty()) return a.size();
    // Ukkonen's band: only cells within k of the diagonal can hold a distance up to k; double k
    // until the distance found is within it.
    const qsizetype n = a.size(), m = b.size();
    for (qsizetype k = std::max<qsizetype>(n - m, 16);; k *= 2) {
        const qsizetype inf = n + m + 1;
        std::vector<qsizetype> prev(size_t(m + 1), inf), cur(size_t(m + 1), inf);
        for (qsizetype j = 0; j <= std::min(m, k); ++j) prev[size_t(j)] = j;
        for (qsizetype i = 1; i <= n; ++i) {
            const qsizetype lo = std::max<qsizetype>(1, i - k), hi = std::min(m, i + k);
            // Cells just outside the band hold what the last use of this row left there.
            cur[size_t(lo - 1)] = lo == 1 && i <= k ? i : inf;
            for (qsizetype j = lo; j <= hi; ++j) {
                const qsizetype subst = prev[size_t(j - 1)] + (a[i - 1] == b[j - 1] ? 0 : 1);
                cur[size_t(j)] = std::min({subst, prev[size_t(j)] + 1, cur[size_t(j - 1)] + 1});
            }
            if (hi < m) cur[size_t(hi + 1)] = inf;
            std::swap(prev, cur);
        }
        if (prev[size_t(m)] <= k || k >= n) return prev[size_t(m)];
    }
}

QString blockText(const QTextDocument& doc) {
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) blocks << b.text();
    return blocks.join(u'\n');
}

}  // namespace rtftest
