#pragma once

#include "core/book.h"
#include "core/book_follower.h"

#include <QAbstractListModel>

#include <vector>

namespace editor {

class PageThumbnails;

// A book's pages as Qt's item views show them: one item per page, its number and title as the
// text, its thumbnail as the icon, and what a screen reader should say of it. Rows are 0-based
// here, pages 1-based in the book.
class BookPagesModel : public core::BookFollower<QAbstractListModel> {
    Q_OBJECT
  public:
    BookPagesModel(core::Book& book, PageThumbnails& thumbnails, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Pages are dragged within the grid to a new place; the model only tells where, as the
    // editor makes every move an undoable step.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

  signals:
    // The 1-based pages `rows` were dropped before page `before` (count() + 1: at the end).
    void pagesDropped(const std::vector<int>& rows, int before);

  private:
    void thumbnailReady(const QString& name);

    core::Book& book_;
    PageThumbnails& thumbnails_;
};

}  // namespace editor
