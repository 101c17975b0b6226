#pragma once

#include <QByteArray>
#include <QString>

namespace bookgen {

// Turns an RTF source written in UTF-8 into the RTF a Simplified-Chinese WordPad saves: every
// character outside ASCII becomes its code-page-936 bytes as \'hh escapes, lines end in CR LF.
// Lines starting with '%' are notes for the author and are dropped. Returns an empty array and
// fills *error when a character has no GBK form.
QByteArray encodeRtf(const QString& source, QString* error);

// Plain text for a book page: GBK bytes, CR LF line ends, no byte-order mark.
QByteArray encodeGbkText(const QString& text, QString* error);

}  // namespace bookgen
