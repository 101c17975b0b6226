#pragma once

#include <QJsonObject>

class QTextDocument;

namespace rtfjson {

// The document in the corpus references' terms: "text" (paragraphs joined by '\n', list labels
// left out), "paragraphs" with "text", "align", "runs" (maximal stretches of equal bold, italic,
// underline, strike, color, background, size_pt, super, sub; start and length in UTF-16 units)
// and "list", and the "images" and "tables" counts. Table cells come row by row where they stand.
QJsonObject documentToJson(const QTextDocument& doc);

}  // namespace rtfjson
