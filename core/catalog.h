#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

// The catalog file of a book, DocItem.txt: one line per page, "image-text", in reading order.
namespace core {

inline constexpr auto kCatalogFileName = "DocItem.txt";
// Page numbers are 16-bit: a catalog holds at most this many pages; later lines are ignored.
inline constexpr int kMaxPages = 32767;
// A catalog line is two file names; a longer line is cut to this many bytes before decoding, so a
// hostile catalog cannot make one row of millions of characters.
inline constexpr qsizetype kMaxCatalogLineBytes = 4096;

// The columns of the catalog list, in order: a row's fields by their place.
enum CatalogColumn : int {
    kPageNoColumn,
    kTitleColumn,
    kTextFileColumn,
    kImageFileColumn,
    kCatalogColumnCount
};

struct CatalogRow {
    QString pageNo;     // "1", "2", ...
    QString title;      // the image name up to its first "."
    QString textFile;   // may be empty
    QString imageFile;  // may be empty
    friend bool operator==(const CatalogRow&, const CatalogRow&) = default;
};

// The row of page `number` showing `image` with `text`: its title is the image name up to its
// first ".".
CatalogRow pageRow(const QString& image, const QString& text, int number);

// The row for line `line` of the catalog, numbered `number`. Split at every "-": field 0 is the
// image, field 1 the text; pieces after field 1 are ignored; no escaping and no trimming.
CatalogRow parseCatalogLine(const QString& line, int number);

// The lines of the catalog text: reading stops at the end of the text or at the first empty line.
// CR LF, LF and a lone CR all end a line.
QStringList catalogLines(const QString& text, int maxLines = kMaxPages);

// The rows of a whole catalog file (UTF-8 when valid as a whole, otherwise GB18030). Lines are
// cut to kMaxCatalogLineBytes first, and only the lines that count are decoded.
std::vector<CatalogRow> parseCatalog(const QByteArray& bytes);

// The catalog file's bytes for these rows: "image-text" CR LF per row, in GBK (code page 936)
// where that reads back unchanged, otherwise in UTF-8.
QByteArray formatCatalog(const std::vector<CatalogRow>& rows);

// Widths in twips of a list's columns set up from the list's width, each given in tenths of it:
// the tenth is a 16-bit whole number of twips, the remainder dropped.
std::vector<float> listColumnWidths(float listWidth, std::initializer_list<double> tenths);

// Why a file of this name cannot be a page of a catalog, or empty when it can: the catalog
// line separates its two names with "-" and has no escaping.
QString unrepresentableReason(const QString& name);

// A book file is addressed by its bare name in the book directory; a name with a path separator,
// or "." or ".." as the whole name, could reach outside the book and is treated as missing.
// Dots inside a name ("a..b.jpg") are ordinary.
bool isBareFileName(const QString& name);

}  // namespace core
