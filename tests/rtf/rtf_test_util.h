#pragma once

#include <QString>

#include <ostream>

class QTextDocument;

// Readable QString values in assertion messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace rtftest {

// Plain text for comparison: every run of whitespace (paragraph ends, line separators, tabs,
// the U+2006 LibreOffice writes inside runs of spaces) becomes one space; pictures' object
// characters are dropped.
QString normalizedText(const QString& text);

// Dice coefficient of the character-bigram multisets: 1 for equal texts, 0 for unrelated ones.
// Linear in the text length, so it serves for documents of hundreds of kilobytes.
double similarity(const QString& a, const QString& b);

// The document's paragraphs joined by '\n', keeping line separators and no-break spaces (which
// QTextDocument::toPlainText would turn into '\n' and ' ').
QString blockText(const QTextDocument& doc);

}  // namespace rtftest
