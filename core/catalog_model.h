#pragma once

#include "book.h"
#include "book_follower.h"
#include "catalog.h"

#include "platform/list_model.h"

#include <vector>

namespace core {

// The book as the reader's catalog list displays it: its pages, the rows of DocItem.txt, in the
// columns of CatalogColumn.
class CatalogModel : public BookFollower<platform::ListModel> {
    Q_OBJECT
  public:
    explicit CatalogModel(QObject* parent = nullptr);

    // The book shown; its changes reach the list's views as they happen.
    Book& book() { return book_; }
    const Book& book() const { return book_; }

    int count() const override { return book_.count(); }
    QString cell(int row, int column) const override;
    void clear() override { book_.clear(); }

  private:
    Book book_;
};

}  // namespace core
