#include "rtf/rtf.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include "rtf/rtf_reader.h"

namespace rtf {

namespace {

QByteArrayView skipLeadingSpace(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    qsizetype i = 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.sliced(i);
}

}  // namespace

bool looksLikeRtf(QByteArrayView bytes) {
    return skipLeadingSpace(bytes).startsWith("{\\rtf");
}

bool importRtf(QByteArrayView bytes, QTextDocument& doc, const textlimits::TextLimits& limits) {
    return importRtf(bytes, doc, limits, nullptr);
}

bool importRtf(QByteArrayView bytes, QTextDocument& doc, const textlimits::TextLimits& limits,
               ImportLosses* losses) {
    if (!looksLikeRtf(bytes)) return false;
    // Undo history of an import is useless and would double its memory.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    Reader reader(skipLeadingSpace(bytes), doc, limits);
    reader.run();
    if (losses) losses->destinations = reader.lostDestinations();
    doc.setUndoRedoEnabled(undo);
    return true;
}

QString listItemLabel(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (!list) return {};
    // Bullets are drawn, not written; these are the characters that look like them.
    switch (list->format().style()) {
        case QTextListFormat::ListDisc:
            return QStringLiteral("\u2022");
        case QTextListFormat::ListCircle:
            return QStringLiteral("\u25E6");
        case QTextListFormat::ListSquare:
            return QStringLiteral("\u25AA");
        case QTextListFormat::ListStyleUndefined:
            return {};
        default:
            return list->itemText(block);
    }
}

}  // namespace rtf
