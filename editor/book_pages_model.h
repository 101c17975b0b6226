#pragma once

#include "core/book.h"

#include <QAbstractListModel>

namespace editor {

class PageThumbnails;

// A book's pages as Qt's item views show them: one item per page, its number and title as the
// text, its thumbnail as the icon, and what a screen reader should say of it. Rows are 0-based
// here, pages 1-based in the book.
class BookPagesModel : public QAbstractListModel {
    Q_OBJECT
  public:
    BookPagesModel(core::Book& book, PageThumbnails& thumbnails, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    void aboutToChange(const core::BookEdit& edit);
    void changed(const core::BookEdit& edit);
    void thumbnailReady(const QString& name);

    core::Book& book_;
    PageThumbnails& thumbnails_;
};

}  // namespace editor
