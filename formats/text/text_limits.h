#pragma once

#include <QString>
#include <QStringView>

#include <limits>

class QTextCursor;
class QTextDocument;

namespace textlimits {

// How much text a document may hold before it reaches a text pane. Qt lays out a paragraph in
// time that grows with the square of its length when it offers no line-break opportunity, and a
// document in time that grows with its length, so both are bounded.
struct TextLimits {
    // Longer paragraphs are broken into pieces of at most this many characters.
    qsizetype paragraphChars = std::numeric_limits<qsizetype>::max();
    // Characters (paragraph breaks included) beyond this are left out and a note says how many.
    qsizetype totalChars = std::numeric_limits<qsizetype>::max();
};

// The next piece of a paragraph that already holds `used` characters when `text` follows: its
// length, and whether the paragraph is to be broken after it. A break falls on the last
// line-break opportunity in the final eighth of a piece, else at the cap, never inside a
// surrogate pair.
struct ParagraphPiece {
    qsizetype length = 0;
    bool breakAfter = false;
};
ParagraphPiece nextParagraphPiece(QStringView text, qsizetype used, qsizetype paragraphChars);

// The longest start of `text` of at most `max` code units that does not split a surrogate pair.
qsizetype wholeCharacters(QStringView text, qsizetype max);
// Characters (code points) in `text`.
qsizetype characterCount(QStringView text);

// Plain text within the limits: overlong lines broken, the rest beyond the total cut; `omitted`
// counts the characters left out, line breaks not included.
struct LimitedText {
    QString text;
    qsizetype omitted = 0;
};
LimitedText limitPlainText(QStringView text, const TextLimits& limits);

// "（文字过长，以下 N 字未显示）", N with thousands separators and "约" before it when the
// count is an estimate.
QString omittedTextNote(qsizetype omitted, bool estimated = false);
// Ends the document with the note as a paragraph of its own, at the cursor (the document's end).
void appendOmittedTextNote(QTextCursor& cursor, qsizetype omitted, bool estimated = false);

// Replaces the content of `doc` with plain text within the limits, noting what was left out.
void setLimitedPlainText(QTextDocument& doc, QStringView text, const TextLimits& limits);

}  // namespace textlimits
