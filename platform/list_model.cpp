#include "list_model.h"

namespace platform {

void ListModel::addColumn(const QString& header) {
    const int column = int(headers_.size());
    beginInsertColumns({}, column, column);
    headers_.append(header);
    endInsertColumns();
}

void ListModel::setMarkedRow(int row, const QFont& font) {
    const int old = marked_;
    marked_ = row >= 0 && row < count() ? row : -1;
    markedFont_ = font;
    const int last = std::max(0, columnCount() - 1);
    for (int r : {old, marked_})
        if (r >= 0) emit dataChanged(index(r, 0), index(r, last), {Qt::FontRole});
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return cell(index.row(), index.column());
        case Qt::FontRole:
            return index.row() == marked_ ? QVariant(markedFont_) : QVariant();
        default:
            return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= headers_.size())
        return {};
    return headers_[section];
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    // Never children: the view then skips asking each row whether it has any.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

QString TextRows::cell(int row, int column) const {
    if (row < 0 || row >= count()) return {};
    return rows_[size_t(row)].value(column);
}

void TextRows::clear() {
    beginResetModel();
    rows_.clear();
    forgetMarkedRow();
    endResetModel();
}

int TextRows::appendRow(const QString& text) {
    const int row = count();
    beginInsertRows({}, row, row);
    rows_.push_back({text});
    endInsertRows();
    return row;
}

bool TextRows::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= count() || column < 0 || column >= columnCount()) return false;
    QStringList& cells = rows_[size_t(row)];
    while (cells.size() <= column) cells.append(QString());
    cells[column] = text;
    emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
    return true;
}

}  // namespace platform
