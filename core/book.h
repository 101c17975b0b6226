#pragma once

#include "catalog.h"
#include "file_batch.h"

#include <QDir>
#include <QObject>
#include <QString>

#include <vector>

namespace core {

// The files of one page: its picture and, possibly empty, the text that explains it.
struct PageFiles {
    QString image;
    QString text;
};

// One change to a book's pages, as the views that follow it need to hear of it. Rows are
// 1-based, as the catalog numbers its pages.
struct BookEdit {
    enum class Kind {
        Reset,     // every page may have changed (the catalog was read again)
        Inserted,  // `count` pages now stand at `first`
        Removed,   // the `count` pages that stood at `first` are gone
        Moved,     // the `count` pages at `first` now stand before old row `before`
        TextSet,   // page `first` has another text file
    };
    Kind kind = Kind::Reset;
    int first = 0;
    int count = 0;
    int before = 0;
};

// Where the page that was row `row` stands after `edit`, or 0 when it is gone or cannot be
// followed (a reset).
int rowAfter(int row, const BookEdit& edit);

// A book: its directory and its pages in reading order, as DocItem.txt lists them. No widget:
// the reader's catalog, the builder and the editor read and change the pages through it, and
// hear of every change through `changed`. Page numbers and titles are kept as the catalog
// derives them.
class Book : public QObject {
    Q_OBJECT
  public:
    explicit Book(const QDir& dir, QObject* parent = nullptr);

    const QDir& dir() const { return dir_; }
    // The book is read from and saved to `dir` from now on; the pages stay.
    void setDir(const QDir& dir) { dir_ = dir; }
    int count() const { return int(pages_.size()); }
    // Page `row` (1-based); a row outside the book has empty fields.
    const CatalogRow& page(int row) const;
    const std::vector<CatalogRow>& pages() const { return pages_; }

    // Reads DocItem.txt again by the reader's rules (a missing one is created empty). When it
    // cannot be read the pages stay as they are, `problem` says why, and false is returned.
    bool load(QString* problem = nullptr);
    // Replaces DocItem.txt as a whole, atomically, together with the files of `with`: none is
    // replaced unless all were written. Empty on success, else why not, with the file that
    // failed in `failed` (every file on disk is then as it was).
    QString save(FileBatch with, QString* failed = nullptr) const;
    QString save() const { return save(FileBatch(dir_)); }

    // Each edit refuses rows outside the book, anything past kMaxPages, a page without a picture
    // and a name the catalog cannot hold (unrepresentableReason), changing nothing; otherwise
    // it renumbers the pages and emits `changed`.
    bool insert(int at, const std::vector<PageFiles>& pages);
    // Appends catalog rows as they were read, numbers and all, up to kMaxPages in all; returns
    // how many were added. Filling an empty book is one reset, not one insertion per row.
    int append(std::vector<CatalogRow> rows);
    // Removes every page.
    void clear();
    bool remove(int first, int count);
    // Moves `count` pages from `first` to stand before the page now at `before` (count() + 1
    // puts them last).
    bool move(int first, int count, int before);
    bool setTextFile(int row, const QString& name);

  signals:
    // Before and after each edit, so item models can announce it as Qt's views need.
    void aboutToChange(const BookEdit& edit);
    void changed(const BookEdit& edit);

  private:
    bool validRange(int first, int count) const;
    void renumber(int from);

    QDir dir_;
    std::vector<CatalogRow> pages_;
};

}  // namespace core
