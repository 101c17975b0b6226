#include "book.h"

#include "catalog_loader.h"

#include <algorithm>

namespace core {

int rowAfter(int row, const BookEdit& e) {
    if (row < 1) return 0;
    const int end = e.first + e.count;  // one past the rows the edit names
    switch (e.kind) {
        case BookEdit::Kind::Reset:
            return 0;
        case BookEdit::Kind::Inserted:
            return row < e.first ? row : row + e.count;
        case BookEdit::Kind::Removed:
            if (row < e.first) return row;
            return row < end ? 0 : row - e.count;
        case BookEdit::Kind::Moved:
            if (e.before <= e.first) {  // the block moves up
                if (row >= e.first && row < end) return e.before + (row - e.first);
                return row >= e.before && row < e.first ? row + e.count : row;
            }
            // The block moves down to stand before old row `before`.
            if (row >= e.first && row < end) return e.before - e.count + (row - e.first);
            return row >= end && row < e.before ? row - e.count : row;
        case BookEdit::Kind::TextSet:
            return row;
    }
    return 0;
}

Book::Book(const QDir& dir, QObject* parent) : QObject(parent), dir_(dir) {}

const CatalogRow& Book::page(int row) const {
    static const CatalogRow none;
    return row >= 1 && row <= count() ? pages_[size_t(row - 1)] : none;
}

bool Book::load(QString* problem) {
    QString why;
    std::vector<CatalogRow> rows = readCatalog(dir_, &why);
    if (!why.isEmpty()) {
        if (problem) *problem = why;
        return false;
    }
    const BookEdit edit{BookEdit::Kind::Reset, 1, count(), 0};
    emit aboutToChange(edit);
    pages_ = std::move(rows);
    emit changed(edit);
    return true;
}

QString Book::save(FileBatch with, QString* failed) const {
    // Last, so the catalog never names a text that is not there yet.
    with.add(QString::fromLatin1(kCatalogFileName), formatCatalog(pages_));
    return with.commit(failed);
}

bool Book::validRange(int first, int n) const {
    return n >= 1 && first >= 1 && first <= count() && n <= count() - first + 1;
}

void Book::renumber(int from) {
    for (int row = std::max(from, 1); row <= count(); ++row)
        pages_[size_t(row - 1)].pageNo = QString::number(row);
}

bool Book::insert(int at, const std::vector<PageFiles>& pages) {
    const int n = int(pages.size());
    if (n < 1 || at < 1 || at > count() + 1 || n > kMaxPages - count()) return false;
    std::vector<CatalogRow> rows;
    rows.reserve(pages.size());
    for (const PageFiles& p : pages) {
        // A name the catalog cannot hold would come back as other pages after a save.
        if (p.image.isEmpty() || !unrepresentableReason(p.image).isEmpty() ||
            !unrepresentableReason(p.text).isEmpty())
            return false;
        rows.push_back(pageRow(p.image, p.text, 0));
    }
    const BookEdit edit{BookEdit::Kind::Inserted, at, n, 0};
    emit aboutToChange(edit);
    pages_.insert(pages_.begin() + (at - 1), rows.begin(), rows.end());
    renumber(at);
    emit changed(edit);
    return true;
}

int Book::append(std::vector<CatalogRow> rows) {
    const size_t room = size_t(kMaxPages) - std::min(pages_.size(), size_t(kMaxPages));
    if (rows.size() > room) rows.resize(room);
    if (rows.empty()) return 0;
    const int added = int(rows.size());
    const BookEdit edit = pages_.empty()
                              ? BookEdit{BookEdit::Kind::Reset, 1, 0, 0}
                              : BookEdit{BookEdit::Kind::Inserted, count() + 1, added, 0};
    emit aboutToChange(edit);
    pages_.insert(pages_.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    emit changed(edit);
    return added;
}

void Book::clear() {
    const BookEdit edit{BookEdit::Kind::Reset, 1, count(), 0};
    emit aboutToChange(edit);
    pages_.clear();
    emit changed(edit);
}

bool Book::remove(int first, int n) {
    if (!validRange(first, n)) return false;
    const BookEdit edit{BookEdit::Kind::Removed, first, n, 0};
    emit aboutToChange(edit);
    const auto from = pages_.begin() + (first - 1);
    pages_.erase(from, from + n);
    renumber(first);
    emit changed(edit);
    return true;
}

bool Book::move(int first, int n, int before) {
    if (!validRange(first, n) || before < 1 || before > count() + 1) return false;
    // Before a row of the block itself, or just after it, nothing moves.
    if (before >= first && before <= first + n) return false;
    const BookEdit edit{BookEdit::Kind::Moved, first, n, before};
    emit aboutToChange(edit);
    const auto begin = pages_.begin();
    if (before < first)
        std::rotate(begin + (before - 1), begin + (first - 1), begin + (first - 1 + n));
    else
        std::rotate(begin + (first - 1), begin + (first - 1 + n), begin + (before - 1));
    renumber(std::min(first, before));
    emit changed(edit);
    return true;
}

bool Book::setTextFile(int row, const QString& name) {
    if (!validRange(row, 1) || !unrepresentableReason(name).isEmpty()) return false;
    CatalogRow& page = pages_[size_t(row - 1)];
    if (page.textFile == name) return true;
    const BookEdit edit{BookEdit::Kind::TextSet, row, 1, 0};
    emit aboutToChange(edit);
    page.textFile = name;
    emit changed(edit);
    return true;
}

}  // namespace core
