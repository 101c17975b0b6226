#pragma once

#include <QByteArrayView>
#include <QStringList>

#include "text/text_limits.h"

class QString;
class QTextBlock;
class QTextDocument;

namespace rtf {

// True when the bytes begin with "{\rtf". Leading whitespace (and a UTF-8 byte-order mark) is
// allowed, as word processors accept it; anything else is plain text.
bool looksLikeRtf(QByteArrayView bytes);

// Replaces the whole content of `doc` with the imported document. Returns false (and leaves doc
// untouched) when the bytes are not RTF. Never crashes, hangs or allocates without bound on
// malformed input. Overlong paragraphs are broken and text beyond the total left out, with a
// closing note, as `limits` say.
bool importRtf(QByteArrayView bytes, QTextDocument& doc, const textlimits::TextLimits& limits = {});

// What an import left out that a person wrote or placed in the file: headers, footers,
// footnotes, comments, shape text, embedded objects' data, groups of unknown kind. Saving the
// imported document in place of the file would lose them. Empty for a file that lost nothing.
struct ImportLosses {
    QStringList destinations;  // the RTF destination words, each once, in the order met
};
bool importRtf(QByteArrayView bytes, QTextDocument& doc, const textlimits::TextLimits& limits,
               ImportLosses* losses);

// The label a list item shows ("•", "3.", "(c)"), or an empty string for other paragraphs.
QString listItemLabel(const QTextBlock& block);

}  // namespace rtf
