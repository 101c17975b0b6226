#pragma once

#include "core/book_files.h"
#include "core/catalog.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Putting a composed book together: the chosen files are copied into the book directory and the
// catalog is written, losing nothing on the way. No widgets: the dialog asks its questions
// through the callback.
namespace builder {

// One row of the selection: an image and, optionally, the text that explains it.
struct SelectedPage {
    QString image;
    QString text;
};

// What one assembly did.
struct AssemblyReport {
    QString catalogError;      // why DocItem.txt was not written; empty when it was
    QStringList copyFailures;  // "name：reason" for each copy that failed
    bool ok() const { return catalogError.isEmpty() && copyFailures.isEmpty(); }
};

using core::OverwriteQuestion;

// Row by row: copies the image, then the text, from `source` into `book`, asking before a file
// there is replaced (never for a file that is the source itself); then replaces DocItem.txt as a
// whole with one line per row. A failed copy skips only that file; a catalog that cannot be
// written leaves the old one byte for byte.
AssemblyReport assembleBook(const QDir& source, const QDir& book,
                            const std::vector<SelectedPage>& pages,
                            const OverwriteQuestion& mayReplace);

// The message that ends the OK sequence: the designed completion text when all went well,
// otherwise what failed.
QString completionMessage(const AssemblyReport& report);

using core::unrepresentableReason;

}  // namespace builder
