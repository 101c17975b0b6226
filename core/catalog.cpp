#include "catalog.h"

#include "platform/text_codec.h"

#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace core {

CatalogRow parseCatalogLine(const QString& line, int number) {
    CatalogRow row;
    row.pageNo = QString::number(number);
    const QStringList fields = line.split(QLatin1Char('-'));
    // A line that begins with "-" has an empty field 0, and so no title and no image.
    if (!fields[0].isEmpty()) row.title = fields[0].split(QLatin1Char('.')).first();
    if (fields.size() > 1) row.textFile = fields[1];
    row.imageFile = fields[0];
    return row;
}

QStringList catalogLines(const QString& text, int maxLines) {
    QStringList lines;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n && lines.size() < maxLines) {
        qsizetype end = pos;
        while (end < n && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n')) ++end;
        if (end == pos) break;  // an empty line ends the catalog
        lines.append(text.mid(pos, end - pos));
        pos = end;
        if (pos < n && text[pos] == QLatin1Char('\r')) ++pos;
        if (pos < n && text[pos] == QLatin1Char('\n')) ++pos;
    }
    return lines;
}

namespace {

// The catalog's lines as bytes, each cut to kMaxCatalogLineBytes (not inside a UTF-8 sequence),
// joined by LF: reading stops where catalogLines stops, so nothing beyond is decoded.
QByteArray keptLines(const QByteArray& bytes) {
    QByteArray kept;
    const char* const data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    for (int count = 0; pos < n && count < kMaxPages; ++count) {
        qsizetype end = pos;
        while (end < n && data[end] != '\r' && data[end] != '\n') ++end;
        if (end == pos) break;
        qsizetype cut = std::min(end, pos + kMaxCatalogLineBytes);
        for (int back = 0; cut < end && back < 3 && (data[cut] & 0xC0) == 0x80; ++back) --cut;
        kept.append(data + pos, cut - pos).append('\n');
        pos = end;
        if (pos < n && data[pos] == '\r') ++pos;
        if (pos < n && data[pos] == '\n') ++pos;
    }
    return kept;
}

}  // namespace

std::vector<CatalogRow> parseCatalog(const QByteArray& bytes) {
    const QStringList lines = catalogLines(platform::decodeBookText(keptLines(bytes)));
    std::vector<CatalogRow> rows;
    rows.reserve(lines.size());
    for (const QString& line : lines) rows.push_back(parseCatalogLine(line, int(rows.size()) + 1));
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

CatalogColumns catalogColumns(float listWidth) {
    // The unit is a 16-bit whole number: a tenth of the list width, remainder dropped.
    const double rounded = std::nearbyint(static_cast<double>(listWidth));
    const int whole = static_cast<int>(std::clamp(rounded, 0.0, 327679.0));
    const auto unit = static_cast<int16_t>(whole / 10);
    return {static_cast<float>(unit * 1.5), static_cast<float>(unit * 8.0),
            static_cast<float>(unit * 0.1), static_cast<float>(unit * 0.1)};
}

bool isBareFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

}  // namespace core
