#pragma once

#include "book.h"

#include <QAbstractItemModel>

#include <algorithm>

namespace core {

// An item model that shows a Book's pages one per row, announcing each change of the book to
// its views as Qt's views need it: inserted, removed and moved rows as such, so selections and
// the current row follow their pages, and the renumbered rows after them as changed.
template <class Model>
class BookFollower : public Model {
  public:
    using Model::Model;

  protected:
    void follow(Book& book) {
        book_ = &book;
        QObject::connect(&book, &Book::aboutToChange, this, [this](const BookEdit& e) {
            using Kind = BookEdit::Kind;
            switch (e.kind) {
                case Kind::Reset:
                    this->beginResetModel();
                    break;
                case Kind::Inserted:
                    this->beginInsertRows({}, e.first - 1, e.first + e.count - 2);
                    break;
                case Kind::Removed:
                    this->beginRemoveRows({}, e.first - 1, e.first + e.count - 2);
                    break;
                case Kind::Moved:
                    this->beginMoveRows({}, e.first - 1, e.first + e.count - 2, {}, e.before - 1);
                    break;
                case Kind::TextSet:
                    break;
            }
        });
        QObject::connect(&book, &Book::changed, this, [this](const BookEdit& e) {
            using Kind = BookEdit::Kind;
            switch (e.kind) {
                case Kind::Reset:
                    this->endResetModel();
                    return;
                case Kind::Inserted:
                    this->endInsertRows();
                    break;
                case Kind::Removed:
                    this->endRemoveRows();
                    break;
                case Kind::Moved:
                    this->endMoveRows();
                    break;
                case Kind::TextSet:
                    rowsChanged(e.first - 1, e.first - 1);
                    return;
            }
            // The pages after the first one touched carry new numbers.
            const int from = e.kind == Kind::Moved ? std::min(e.first, e.before) - 1 : e.first - 1;
            if (book_->count() > 0)
                rowsChanged(std::clamp(from, 0, book_->count() - 1), book_->count() - 1);
        });
    }

  private:
    void rowsChanged(int first, int last) {
        // Through the base: a list model keeps its column count private.
        const int columns = static_cast<const QAbstractItemModel*>(this)->columnCount();
        emit this->dataChanged(this->index(first, 0), this->index(last, std::max(0, columns - 1)));
    }

    Book* book_ = nullptr;
};

}  // namespace core
