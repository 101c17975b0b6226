#include "book_pages_model.h"

#include "page_thumbnails.h"

#include <QIcon>
#include <QMimeData>

namespace editor {

BookPagesModel::BookPagesModel(core::Book& book, PageThumbnails& thumbnails, QObject* parent)
    : BookFollower(parent), book_(book), thumbnails_(thumbnails) {
    follow(book_);
    connect(&thumbnails_, &PageThumbnails::ready, this, &BookPagesModel::thumbnailReady);
}

int BookPagesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : book_.count();
}

QVariant BookPagesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= book_.count()) return {};
    const core::CatalogRow& page = book_.page(index.row() + 1);
    switch (role) {
        case Qt::DisplayRole:
            return QStringLiteral("%1. %2").arg(page.pageNo, page.title);
        case Qt::DecorationRole:
            return QIcon(thumbnails_.thumbnail(page.imageFile));
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole: {
            QString says = QStringLiteral("图像 %1").arg(page.imageFile);
            if (thumbnails_.failed(page.imageFile)) says += QStringLiteral("（无法显示）");
            says += page.textFile.isEmpty() ? QStringLiteral("，没有文字")
                                            : QStringLiteral("，文字 %1").arg(page.textFile);
            return says;
        }
        default:
            return {};
    }
}

namespace {
constexpr auto kPagesMime = "application/x-huaben-pages";
}

Qt::ItemFlags BookPagesModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags base = BookFollower::flags(index) | Qt::ItemIsDropEnabled;
    return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
}

QStringList BookPagesModel::mimeTypes() const {
    return {QString::fromLatin1(kPagesMime)};
}

QMimeData* BookPagesModel::mimeData(const QModelIndexList& indexes) const {
    QStringList rows;
    for (const QModelIndex& i : indexes) rows << QString::number(i.row() + 1);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kPagesMime), rows.join(QLatin1Char(' ')).toLatin1());
    return data;
}

bool BookPagesModel::dropMimeData(const QMimeData* data, Qt::DropAction, int row, int,
                                  const QModelIndex& parent) {
    if (!data || !data->hasFormat(QString::fromLatin1(kPagesMime))) return false;
    std::vector<int> rows;
    for (const QByteArray& n : data->data(QString::fromLatin1(kPagesMime)).split(' ')) {
        bool ok = false;
        const int r = n.toInt(&ok);
        if (ok && r >= 1 && r <= book_.count()) rows.push_back(r);
    }
    // Onto a page: before it; between pages: at that place; elsewhere: at the end.
    const int before = parent.isValid() ? parent.row() + 1 : row >= 0 ? row + 1 : book_.count() + 1;
    if (!rows.empty()) emit pagesDropped(rows, before);
    return false;  // the editor has moved them; nothing for the view to remove
}

void BookPagesModel::thumbnailReady(const QString& name) {
    for (int row = 0; row < book_.count(); ++row)
        if (book_.page(row + 1).imageFile == name) {
            const QModelIndex i = index(row);
            emit dataChanged(i, i, {Qt::DecorationRole, Qt::AccessibleDescriptionRole});
        }
}

}  // namespace editor
