#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The catalog's rule: UTF-8 when valid as a whole (a byte-order mark is skipped), otherwise the
// narrow code page of Simplified-Chinese Windows, read as GB18030, the superset of GBK / cp 936.
// Names must read back exactly as they were written, so there is no guessing beyond that.
QString decodeBookText(const QByteArray& bytes);

// A page's plain text, as editors save it: a UTF-8, UTF-16 or UTF-32 byte-order mark decides;
// unmarked text is UTF-8 when it is valid or nearly so (a stray bad byte shows as a replacement
// character instead of turning the whole page into mojibake), otherwise GB18030.
QString decodePageText(const QByteArray& bytes);

// A page's plain text with how it was stored, so an edit is saved the way the file was read.
struct PageText {
    QString text;
    QString encoding;  // "UTF-8", "UTF-16LE", ... or "GB18030"
    bool byteOrderMark = false;
};
PageText readPageText(const QByteArray& bytes);
// `text` in the encoding of `as`, with its byte-order mark when it had one.
QByteArray encodePageText(const QString& text, const PageText& as);

}  // namespace platform
