#include "catalog_model.h"

#include <algorithm>

namespace core {

int CatalogModel::append(std::vector<CatalogRow> rows) {
    const size_t room = size_t(kMaxPages) - std::min(rows_.size(), size_t(kMaxPages));
    if (rows.size() > room) rows.resize(room);
    if (rows.empty()) return 0;
    const int added = int(rows.size());
    if (rows_.empty()) {
        beginResetModel();
        rows_ = std::move(rows);
        forgetMarkedRow();
        endResetModel();
        return added;
    }
    const int first = count();
    beginInsertRows({}, first, first + added - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
    endInsertRows();
    return added;
}

QString CatalogModel::cell(int row, int column) const {
    if (row < 0 || row >= count()) return {};
    const CatalogRow& r = rows_[size_t(row)];
    switch (static_cast<CatalogColumn>(column)) {
        case kPageNoColumn:
            return r.pageNo;
        case kTitleColumn:
            return r.title;
        case kTextFileColumn:
            return r.textFile;
        case kImageFileColumn:
            return r.imageFile;
        case kCatalogColumnCount:
            break;
    }
    return {};
}

void CatalogModel::clear() {
    beginResetModel();
    rows_.clear();
    forgetMarkedRow();
    endResetModel();
}

}  // namespace core
