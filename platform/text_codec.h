#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Text in a book is either UTF-8 (valid as a whole; a byte-order mark is skipped) or the narrow
// code page of Simplified-Chinese Windows, read as GB18030, the superset of GBK / code page 936.
QString decodeBookText(const QByteArray& bytes);

// Encodes in GB18030 for files other programs of a book's world read as code page 936.
QByteArray encodeBookText(const QString& text);

}  // namespace platform
