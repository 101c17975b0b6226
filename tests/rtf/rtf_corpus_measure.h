#pragma once

#include <QJsonArray>
#include <QString>

#include <array>

// Measures of how close an import comes to a corpus reference, both in rtfdump's JSON terms.
namespace rtfmeasure {

// Insertions plus deletions that turn `a` into `b` (a substitution counts two), found by
// Myers' difference algorithm; linear memory, quick when the texts are close. Beyond `cap` edits
// the count stops at `cap`.
qsizetype editDistance(QStringView a, QStringView b, qsizetype cap = 1 << 16);

enum Attribute { Bold, Italic, Underline, Strike, Color, Size, SuperSub, Align, kAttributeCount };
const char* attributeName(int attribute);

// Formatting agreement is counted per character: for every paragraph whose text the import
// reproduces exactly (paragraphs paired in reading order by a longest common subsequence of
// their texts), each non-space character compares the attribute of the run it lies in, in the
// import and in the reference; alignment is its paragraph's. Colour null (automatic) equals
// null only; sizes agree within 0.05 pt; super/subscript compares both flags.
struct Agreement {
    std::array<qint64, kAttributeCount> agree{};
    qint64 compared = 0;   // characters compared
    qint64 reference = 0;  // non-space characters of the reference's paragraphs
    void add(const Agreement& o);
    double share(int attribute) const {
        return compared ? double(agree[size_t(attribute)]) / double(compared) : 1.0;
    }
};
Agreement formattingAgreement(const QJsonArray& imported, const QJsonArray& reference);

}  // namespace rtfmeasure
