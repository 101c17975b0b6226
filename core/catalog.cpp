#include "catalog.h"

#include "platform/text_codec.h"

#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace core {

namespace {

CatalogRow rowOfLine(QStringView line, int number) {
    const qsizetype dash = line.indexOf(QLatin1Char('-'));
    const QStringView image = dash < 0 ? line : line.first(dash);
    QStringView text;
    if (dash >= 0) {
        const QStringView rest = line.sliced(dash + 1);
        const qsizetype next = rest.indexOf(QLatin1Char('-'));
        text = next < 0 ? rest : rest.first(next);
    }
    // A line that begins with "-" has an empty field 0, and so no title and no image.
    return pageRow(image.toString(), text.toString(), number);
}

// Calls `take(begin, end)` with the bounds of each line of `text` (a string or bytes), up to
// `maxLines`: reading stops at the end of the text or at the first empty line. CR LF, LF and a
// lone CR all end a line.
template <typename Text, typename Take>
void forEachLine(Text text, int maxLines, Take&& take) {
    const auto endsLine = [&text](qsizetype i) { return text[i] == u'\r' || text[i] == u'\n'; };
    qsizetype pos = 0;
    const qsizetype n = text.size();
    for (int count = 0; pos < n && count < maxLines; ++count) {
        qsizetype end = pos;
        while (end < n && !endsLine(end)) ++end;
        if (end == pos) break;  // an empty line ends the catalog
        take(pos, end);
        pos = end;
        if (pos < n && text[pos] == u'\r') ++pos;
        if (pos < n && text[pos] == u'\n') ++pos;
    }
}

// The catalog's lines as bytes, each cut to kMaxCatalogLineBytes (not inside a UTF-8 sequence),
// joined by LF: reading stops where catalogLines stops, so nothing beyond is decoded.
QByteArray keptLines(QByteArrayView bytes) {
    QByteArray kept;
    kept.reserve(std::min(bytes.size(), qsizetype(kMaxPages) * (kMaxCatalogLineBytes + 1)));
    forEachLine(bytes, kMaxPages, [&](qsizetype pos, qsizetype end) {
        qsizetype cut = std::min(end, pos + kMaxCatalogLineBytes);
        for (int back = 0; cut < end && back < 3 && (bytes[cut] & 0xC0) == 0x80; ++back) --cut;
        kept.append(bytes.sliced(pos, cut - pos)).append('\n');
    });
    return kept;
}

}  // namespace

CatalogRow pageRow(const QString& image, const QString& text, int number) {
    const qsizetype dot = image.indexOf(QLatin1Char('.'));
    return {QString::number(number), dot < 0 ? image : image.first(dot), text, image};
}

CatalogRow parseCatalogLine(const QString& line, int number) {
    return rowOfLine(line, number);
}

QStringList catalogLines(const QString& text, int maxLines) {
    QStringList lines;
    forEachLine(QStringView(text), maxLines,
                [&](qsizetype pos, qsizetype end) { lines.append(text.sliced(pos, end - pos)); });
    return lines;
}

std::vector<CatalogRow> parseCatalog(const QByteArray& bytes) {
    const QByteArray kept = keptLines(bytes);
    const QString text = platform::decodeBookText(kept);
    std::vector<CatalogRow> rows;
    rows.reserve(size_t(kept.count('\n')));
    forEachLine(QStringView(text), kMaxPages, [&](qsizetype pos, qsizetype end) {
        rows.push_back(rowOfLine(QStringView(text).sliced(pos, end - pos), int(rows.size()) + 1));
    });
    return rows;
}

QByteArray formatCatalog(const std::vector<CatalogRow>& rows) {
    QString text;
    for (const CatalogRow& row : rows)
        text += row.imageFile + QLatin1Char('-') + row.textFile + QLatin1String("\r\n");
    // Code page 936 keeps the catalog readable by the tools of a book's world. It is used only
    // when the reading rule gives the same text back: a name outside GBK, or GBK bytes that
    // happen to be valid UTF-8, would not survive, so such a catalog is written in UTF-8.
    QStringEncoder gbk("GBK");
    const QByteArray narrow = gbk.encode(text);
    if (!gbk.hasError() && platform::decodeBookText(narrow) == text) return narrow;
    return text.toUtf8();
}

std::vector<float> listColumnWidths(float listWidth, std::initializer_list<double> tenths) {
    const double rounded = std::nearbyint(static_cast<double>(listWidth));
    const int whole = static_cast<int>(std::clamp(rounded, 0.0, 327679.0));
    const auto unit = static_cast<int16_t>(whole / 10);
    std::vector<float> widths;
    for (const double share : tenths) widths.push_back(static_cast<float>(unit * share));
    return widths;
}

QString unrepresentableReason(const QString& name) {
    if (name.contains(QLatin1Char('-')))
        return QStringLiteral("文件名“%1”含有“-”，目录中无法记录。请先将文件改名。").arg(name);
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')))
        return QStringLiteral("文件名含有换行符，目录中无法记录。请先将文件改名。");
    return {};
}

bool isBareFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

}  // namespace core
