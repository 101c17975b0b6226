#include "text/text_limits.h"

#include <QColor>
#include <QLocale>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace textlimits {
namespace {

bool isParagraphEnd(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
}

// Characters of `text` that are not paragraph ends.
qsizetype textCharacters(QStringView text) {
    qsizetype n = 0;
    for (QChar c : text)
        if (!c.isLowSurrogate() && !isParagraphEnd(c)) ++n;
    return n;
}

}  // namespace

qsizetype wholeCharacters(QStringView text, qsizetype max) {
    if (max >= text.size()) return text.size();
    if (max <= 0) return 0;
    return text[max].isLowSurrogate() && text[max - 1].isHighSurrogate() ? max - 1 : max;
}

qsizetype characterCount(QStringView text) {
    return std::count_if(text.begin(), text.end(), [](QChar c) { return !c.isLowSurrogate(); });
}

ParagraphPiece nextParagraphPiece(QStringView text, qsizetype used, qsizetype paragraphChars) {
    const qsizetype room = paragraphChars - used;
    if (text.size() <= room) return {text.size(), false};
    if (room <= 0) return {0, true};
    // Look for a line-break opportunity in the last eighth of the piece; the character after
    // the cap is needed to know whether the cap itself is one.
    const qsizetype lowest = std::max<qsizetype>(1, paragraphChars - paragraphChars / 8 - used);
    if (lowest <= room) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text.first(room + 1));
        finder.setPosition(room);
        const qsizetype at = finder.isAtBoundary() ? room : finder.toPreviousBoundary();
        if (at >= lowest) return {at, true};
    }
    const qsizetype length = wholeCharacters(text, room);
    // A paragraph always takes at least one character, a surrogate pair even beyond the cap.
    if (length == 0 && used == 0) return {std::min<qsizetype>(2, text.size()), true};
    return {length, true};
}

LimitedText limitPlainText(QStringView text, const TextLimits& limits) {
    LimitedText out;
    out.text.reserve(std::min(text.size(), limits.totalChars));
    qsizetype used = 0;  // characters of the paragraph being written
    qsizetype i = 0;
    while (i < text.size() && out.text.size() < limits.totalChars) {
        if (isParagraphEnd(text[i])) {
            out.text += text[i++];
            used = 0;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !isParagraphEnd(text[end])) ++end;
        while (i < end) {
            const qsizetype room = limits.totalChars - out.text.size();
            const ParagraphPiece piece =
                nextParagraphPiece(text.sliced(i, end - i), used, limits.paragraphChars);
            const qsizetype take = wholeCharacters(text.sliced(i, piece.length), room);
            out.text += text.sliced(i, take);
            used += take;
            i += take;
            if (take < piece.length || out.text.size() >= limits.totalChars) break;
            if (piece.breakAfter) {
                out.text += u'\n';
                used = 0;
            }
        }
        if (i < end) break;  // the total is reached inside this line
    }
    out.omitted = textCharacters(text.sliced(i));
    return out;
}

QString omittedTextNote(qsizetype omitted, bool estimated) {
    return QStringLiteral("（文字过长，以下%1 %2 字未显示）")
        .arg(estimated ? QStringLiteral("约") : QString(),
             QLocale(QLocale::Chinese, QLocale::China).toString(qlonglong(omitted)));
}

void appendOmittedTextNote(QTextCursor& cursor, qsizetype omitted, bool estimated) {
    QTextCharFormat chars;
    chars.setForeground(QColor(Qt::darkGray));
    cursor.insertBlock(QTextBlockFormat(), chars);
    cursor.insertText(omittedTextNote(omitted, estimated), chars);
}

void setLimitedPlainText(QTextDocument& doc, QStringView text, const TextLimits& limits) {
    const LimitedText limited = limitPlainText(text, limits);
    doc.setPlainText(limited.text);
    if (limited.omitted == 0) return;
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    appendOmittedTextNote(cursor, limited.omitted);
    doc.setUndoRedoEnabled(undo);
}

}  // namespace textlimits
