#include "rtf_corpus_measure.h"

#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <vector>

namespace rtfmeasure {

qsizetype editDistance(QStringView a, QStringView b, qsizetype cap) {
    while (!a.isEmpty() && !b.isEmpty() && a.front() == b.front()) {
        a = a.sliced(1);
        b = b.sliced(1);
    }
    while (!a.isEmpty() && !b.isEmpty() && a.back() == b.back()) {
        a.chop(1);
        b.chop(1);
    }
    const qsizetype n = a.size(), m = b.size();
    const qsizetype maxD = std::min(n + m, cap);
    if (n == 0 || m == 0) return maxD;
    // v[k + offset]: the furthest x reached on diagonal k = x - y.
    const qsizetype offset = maxD + 1;
    std::vector<qsizetype> v(size_t(2 * maxD + 3), 0);
    for (qsizetype d = 0; d <= maxD; ++d) {
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x;
            if (k == -d || (k != d && v[size_t(k - 1 + offset)] < v[size_t(k + 1 + offset)]))
                x = v[size_t(k + 1 + offset)];
            else
                x = v[size_t(k - 1 + offset)] + 1;
            qsizetype y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            v[size_t(k + offset)] = x;
            if (x >= n && y >= m) return d;
        }
    }
    return maxD;
}

const char* attributeName(int attribute) {
    static const char* const names[] = {"bold",   "italic", "underline", "strike",
                                        "colour", "size",   "super/sub", "alignment"};
    return names[attribute];
}

void Agreement::add(const Agreement& o) {
    for (size_t i = 0; i < agree.size(); ++i) agree[i] += o.agree[i];
    compared += o.compared;
    reference += o.reference;
}

namespace {

QString paragraphText(const QJsonValue& p) {
    return p.toObject().value("text").toString().replace(QChar(0x2006), u' ');
}

// The run covering each character of a paragraph, or -1.
std::vector<int> runIndex(const QJsonArray& runs, qsizetype length) {
    std::vector<int> at(size_t(length), -1);
    for (int r = 0; r < runs.size(); ++r) {
        const QJsonObject o = runs[r].toObject();
        const qsizetype start = o.value("start").toInteger();
        const qsizetype end = std::min(length, start + o.value("length").toInteger());
        for (qsizetype i = std::max<qsizetype>(start, 0); i < end; ++i) at[size_t(i)] = r;
    }
    return at;
}

bool same(const QJsonObject& a, const QJsonObject& b, int attribute) {
    switch (attribute) {
        case Bold:
            return a.value("bold") == b.value("bold");
        case Italic:
            return a.value("italic") == b.value("italic");
        case Underline:
            return a.value("underline") == b.value("underline");
        case Strike:
            return a.value("strike") == b.value("strike");
        case Color:
            return a.value("color") == b.value("color");
        case Size:
            return std::abs(a.value("size_pt").toDouble() - b.value("size_pt").toDouble()) < 0.05;
        case SuperSub:
            return a.value("super") == b.value("super") && a.value("sub") == b.value("sub");
        default:
            return true;
    }
}

void compareParagraph(const QJsonObject& got, const QJsonObject& want, const QString& text,
                      Agreement& out) {
    const QJsonArray gotRuns = got.value("runs").toArray(), wantRuns = want.value("runs").toArray();
    const std::vector<int> g = runIndex(gotRuns, text.size()), w = runIndex(wantRuns, text.size());
    const bool alignSame = got.value("align") == want.value("align");
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSpace() || g[size_t(i)] < 0 || w[size_t(i)] < 0) continue;
        const QJsonObject a = gotRuns[g[size_t(i)]].toObject(),
                          b = wantRuns[w[size_t(i)]].toObject();
        ++out.compared;
        for (int attr = 0; attr < kAttributeCount; ++attr)
            out.agree[size_t(attr)] += attr == Align ? alignSame : same(a, b, attr);
    }
}

}  // namespace

Agreement formattingAgreement(const QJsonArray& imported, const QJsonArray& reference) {
    Agreement out;
    std::vector<QString> got, want;
    for (const QJsonValue& p : imported) got.push_back(paragraphText(p));
    for (const QJsonValue& p : reference) want.push_back(paragraphText(p));
    for (const QString& t : want)
        out.reference += std::count_if(t.begin(), t.end(), [](QChar c) { return !c.isSpace(); });
    // Longest common subsequence of paragraphs; documents have at most a few thousand.
    const size_t n = got.size(), m = want.size();
    if (n * m > 4u * 1024 * 1024) return out;
    std::vector<std::vector<int>> l(n + 1, std::vector<int>(m + 1, 0));
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            l[i][j] = got[i] == want[j] ? l[i + 1][j + 1] + 1 : std::max(l[i + 1][j], l[i][j + 1]);
    for (size_t i = 0, j = 0; i < n && j < m;) {
        if (got[i] == want[j]) {
            compareParagraph(imported[qsizetype(i)].toObject(), reference[qsizetype(j)].toObject(),
                             got[i], out);
            ++i;
            ++j;
        } else if (l[i + 1][j] >= l[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    return out;
}

}  // namespace rtfmeasure
