#pragma once

#include <QByteArray>

class QTextDocument;

namespace rtf {

// The document as RTF for code page 936: fonts and colours in tables, paragraphs with their
// alignment, indents and spacing, character formatting, tables as RTF rows, list items with
// WordPad's numbering, links as HYPERLINK fields, and the document's pictures as PNG (JPEG where
// the document holds the JPEG file). Chinese text goes out as GBK bytes; what GBK lacks as Unicode
// escapes. Time and memory are linear in the size of the document.
QByteArray writeDocument(const QTextDocument& doc);

}  // namespace rtf
